// The entry editor: QSO, DATA and Text forms, typed in and saved in date-and-time order.
#include <array>
#include <span>
#include <vector>

#include "logging/EntryRules.h"
#include "logging/LoggingScreens.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;
using platform::EditStyle;

constexpr int kDateBox = 101, kCallBox = 102, kLastEntryBox = 103;
constexpr int kCommentsBox = 111;
constexpr int kEntryLabel = 21;
constexpr int kCmdQso = 20, kCmdData = 21, kCmdText = 22, kCmdSave = 23, kCmdKeyHelp = 24,
              kCmdNext = 25, kCmdPrevious = 26;

constexpr std::array<std::string_view, 3> kKindNames = {"QSO Date", "Data Date", "Text Date"};

struct BoxSpec {
    int label;
    int box;
    const char* text;
    int width;  // dialog units
    EditStyle style;
    // The width of the record field the box fills: the box takes no more characters, so
    // nothing typed is cut off unheard when the entry is saved. 0 where no field limits it.
    int max_length;
};

constexpr int kDateLength = 8, kTimeLength = 4;

constexpr BoxSpec kQsoForm[] = {
    {22, 102, "Call Sign", 52, EditStyle::UpperCase, 12},
    {33, 103, "Last Entry", 270, EditStyle::ReadOnly, 0},
    {23, 104, "Time On", 22, EditStyle::Plain, kTimeLength},
    {24, 105, "Time Off", 22, EditStyle::Plain, kTimeLength},
    {25, 106, "RST Sent", 30, EditStyle::Plain, 7},
    {26, 107, "RST Received", 30, EditStyle::Plain, 7},
    {27, 108, "Frequency in Megahertz", 35, EditStyle::Plain, 0},
    {28, 109, "Mode", 20, EditStyle::UpperCase, 3},
    {29, 110, "Power", 25, EditStyle::Plain, 5},
    {30, 111, "Comments", 162, EditStyle::Plain, 40},
    {31, 112, "QSL sent", 20, EditStyle::UpperCase, 0},
    {32, 113, "QSL received", 20, EditStyle::UpperCase, 0},
};
constexpr BoxSpec kDataForm[] = {
    {22, 102, "Time", 22, EditStyle::Plain, kTimeLength},
    {23, 103, "Operator", 52, EditStyle::Plain, 12},
    {24, 104, "Tranceiver", 52, EditStyle::Plain, 12},
    {25, 105, "Antenna", 52, EditStyle::Plain, 12},
    {26, 106, "Band in Megahertz", 35, EditStyle::Plain, 0},
};
constexpr BoxSpec kTextForm[] = {
    {22, 102, "Time", 22, EditStyle::Plain, kTimeLength},
    {23, 103, "Text", 240, EditStyle::Plain, 64},
};

class EntryEditor final : public platform::WindowEvents {
public:
    // Editing starts in state 1: the first form built is filled from the entry (state 2).
    EntryEditor(const LoggingContext& ctx, int edit_entry)
        : m_ctx(ctx), m_edit_entry(edit_entry), m_edit_state(edit_entry > 0 ? 1 : 0) {}

    int run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape =
            window_shape(m_edit_entry > 0 ? " Edit Entry " : "Off Line Logging", 280, 230, owner);
        m_window = ui.create_window(shape, *this);
        add_announcement_label(m_ctx, m_window, 5, 212, 270);
        using platform::ctrl;
        using platform::plain;
        ui.set_key_table(m_window, {{plain(platform::kKeyF2), kCmdQso},
                                    {ctrl('Q'), kCmdQso},
                                    {plain(platform::kKeyF3), kCmdData},
                                    {ctrl('D'), kCmdData},
                                    {plain(platform::kKeyF4), kCmdText},
                                    {ctrl('T'), kCmdText},
                                    {plain(platform::kKeyF12), kCmdSave},
                                    {ctrl('S'), kCmdSave},
                                    {plain(platform::kKeyF1), kCmdKeyHelp},
                                    {plain(platform::kKeyTab), kCmdNext},
                                    {platform::shift(platform::kKeyTab), kCmdPrevious}});
        if (m_edit_entry > 0) {
            m_kind = kind_of(entry_kind(m_ctx.log.entry(m_edit_entry)));
        }
        build_form();
        return ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case kCmdQso:
            case kCmdData:
            case kCmdText: {
                auto kind = static_cast<EntryKindChoice>(command - kCmdQso + 1);
                if (kind != m_kind) {
                    m_kind = kind;
                    build_form();
                }
                break;
            }
            case kCmdSave:
                save();
                break;
            case kCmdKeyHelp:
                show_key_help(
                    m_ctx, m_window, "Key help",
                    "F2 or Control plus Q for QSO entry,F3 or Control plus D for DATA entry,"
                    "F4 or Control plus T for Text entry,F12 or Control plus S to save,TAB to "
                    "select a box");
                break;
            case kCmdNext:
            case platform::kCmdOk:  // Enter moves on, as TAB does
                next_box();
                break;
            case kCmdPrevious:
                previous_box();
                break;
            case platform::kCmdCancel:
                if (may_leave()) {
                    m_ctx.ui().close_window(m_window, 0);
                }
                break;
            default:
                break;
        }
    }

    void on_focus(int control) override {
        if (control >= kDateBox && control <= 113) {
            m_focus = control;
        }
    }

private:
    static EntryKindChoice kind_of(EntryKind kind) {
        return kind == EntryKind::Data   ? EntryKindChoice::Data
               : kind == EntryKind::Text ? EntryKindChoice::Text
                                         : EntryKindChoice::Qso;
    }

    bool editing() const { return m_edit_entry > 0; }
    int last_box() const {
        return m_kind == EntryKindChoice::Qso ? 113 : m_kind == EntryKindChoice::Data ? 106 : 103;
    }
    std::string text(int box) { return m_ctx.ui().text(m_window, box); }
    void set(int box, std::string_view value) { m_ctx.ui().set_text(m_window, box, value); }

    std::span<const BoxSpec> form() const {
        return m_kind == EntryKindChoice::Qso    ? std::span<const BoxSpec>(kQsoForm)
               : m_kind == EntryKindChoice::Data ? std::span<const BoxSpec>(kDataForm)
                                                 : std::span<const BoxSpec>(kTextForm);
    }

    std::string entry_label() const {
        int number = editing() ? m_edit_entry : m_ctx.log.count() + 1;
        return "Entry number" + plain_number(number) + ", " +
               std::string(kKindNames[static_cast<int>(m_kind) - 1]);
    }

    void build_form() {
        platform::Ui& ui = m_ctx.ui();
        for (int id = 21; id <= 33; ++id) {
            ui.remove_control(m_window, id);
        }
        for (int id = 101; id <= 113; ++id) {
            ui.remove_control(m_window, id);
        }
        ui.add_control(m_window,
                       control(ControlKind::Label, kEntryLabel, entry_label(), 5, 5, 150, 10));
        platform::ControlSpec date_box = control(ControlKind::Edit, kDateBox, "", 5, 15, 35, 12);
        date_box.max_length = kDateLength;
        ui.add_control(m_window, date_box);
        int y = 30;
        for (const BoxSpec& row : form()) {
            // The Last Entry label is there only for new entries; its box always is.
            if (!(row.box == kLastEntryBox && m_kind == EntryKindChoice::Qso && editing())) {
                ui.add_control(m_window,
                               control(ControlKind::Label, row.label, row.text, 5, y, 100, 10));
            }
            platform::ControlSpec box =
                control(ControlKind::Edit, row.box, "", 110, y, row.width, 12, row.style);
            box.max_length = row.max_length;
            ui.add_control(m_window, box);
            y += 15;
        }
        if (m_edit_state == 1) {
            fill_from_entry();
            m_edit_state = 2;
        }
        ui.set_focus(m_window, kDateBox);
        m_focus = kDateBox;
        remember_boxes();
    }

    std::vector<std::string> box_texts() {
        std::vector<std::string> texts;
        for (int box = kDateBox; box <= last_box(); ++box) {
            texts.push_back(text(box));
        }
        return texts;
    }
    void remember_boxes() { m_unchanged = box_texts(); }

    // Escape with a call sign typed and not saved asks first; No, Enter or Escape stays.
    bool may_leave() {
        if (m_kind != EntryKindChoice::Qso || text(kCallBox).empty() ||
            box_texts() == m_unchanged) {
            return true;
        }
        return m_ctx.ui().message_box(m_window, "Entry not saved", "Leave without saving?",
                                      platform::MessageButtons::YesNoDefaultNo) ==
               platform::Answer::Yes;
    }

    void fill_from_entry() {
        const LogRecord& r = m_ctx.log.entry(m_edit_entry);
        set(kDateBox, date_text(r.date(), m_ctx.date_format()));
        switch (m_kind) {
            case EntryKindChoice::Qso: {
                QsoBoxes b = qso_boxes_of(r, m_ctx.frequency_names);
                const std::string* values[] = {
                    &b.call,      nullptr, &b.time_on, &b.time_off, &b.rst_sent, &b.rst_received,
                    &b.frequency, &b.mode, &b.power,   &b.comment,  &b.qsl_sent, &b.qsl_received};
                for (int i = 0; i < 12; ++i) {
                    if (values[i] != nullptr) {
                        set(102 + i, *values[i]);
                    }
                }
                break;
            }
            case EntryKindChoice::Data: {
                DataBoxes b = data_boxes_of(r, m_ctx.frequency_names);
                set(102, b.time);
                set(103, b.operator_name);
                set(104, b.transceiver);
                set(105, b.antenna);
                set(106, b.band);
                break;
            }
            case EntryKindChoice::Text: {
                TextBoxes b = text_boxes_of(r);
                set(102, b.time);
                set(103, b.text);
                break;
            }
        }
    }

    void next_box() {
        if (m_kind == EntryKindChoice::Qso && m_focus == kCallBox) {
            if (!editing()) {
                look_up_last_entry();
            } else {
                ++m_focus;  // the Last Entry box is passed over when editing
            }
        }
        if (m_focus < last_box()) {
            ++m_focus;
            m_ctx.ui().set_focus(m_window, m_focus);
        }
    }

    void previous_box() {
        if (m_kind == EntryKindChoice::Qso && m_focus == 104 && editing()) {
            m_focus = kLastEntryBox;
        }
        if (m_focus > kDateBox) {
            --m_focus;
            m_ctx.ui().set_focus(m_window, m_focus);
        }
    }

    // Leaving the Call Sign box of a new QSO: the last contact with the station is put in
    // the Last Entry box, where the focus then stops; otherwise the focus goes on to Time On.
    void look_up_last_entry() {
        set(kLastEntryBox, "");
        set(kCommentsBox, "");
        std::string call = text(kCallBox);
        std::optional<LastEntry> last;
        if (call != "CQ") {
            last = find_last_entry(m_ctx.log, call, m_ctx.log.count(), m_ctx.date_format(),
                                   m_ctx.frequency_names);
        }
        if (last) {
            set(kLastEntryBox, last->text);
            // Without its trailing blanks, so what the operator adds fits the 40 characters.
            set(kCommentsBox, trim_right(last->comment));
        } else {
            ++m_focus;
        }
    }

    // The box keeps the focus and the operator hears what is wrong with it: only a time box
    // refuses what is typed, every other box refuses being left empty.
    void refuse_at(int box) {
        m_ctx.ui().set_focus(m_window, box);
        m_focus = box;
        std::string name = "The box";
        for (const BoxSpec& row : form()) {
            if (row.box == box) {
                name = row.text;
            }
        }
        refuse(m_ctx, m_window,
               text(box).empty() ? name + " is empty."
                                 : name + " must be a time of day, four digits from 0000 to 2359.");
    }

    void save() {
        platform::Ui& ui = m_ctx.ui();
        auto tidied = tidy_date_or_warn(m_ctx, m_window, text(kDateBox));
        if (!tidied) {
            set(kDateBox, "");
            m_ctx.ui().set_focus(m_window, kDateBox);
            m_focus = kDateBox;
            return;
        }
        auto date = date_code_of_text(*tidied, m_ctx.date_format());
        // A DATA or Text entry's time may be left empty; what is typed must be a time of day.
        if (m_kind != EntryKindChoice::Qso && !text(102).empty() && !is_time_text(text(102))) {
            refuse_at(102);
            return;
        }
        LogRecord record;
        switch (m_kind) {
            case EntryKindChoice::Qso: {
                QsoBoxes b{text(102), text(104), text(105), text(106), text(107), text(108),
                           text(109), text(110), text(111), text(112), text(113)};
                EntryBuild build = build_qso(*date, b);
                if (!build.record) {
                    refuse_at(build.failed_box);
                    return;
                }
                record = *build.record;
                break;
            }
            case EntryKindChoice::Data:
                record = build_data(*date, {text(102), text(103), text(104), text(105), text(106)});
                break;
            case EntryKindChoice::Text:
                record = build_text(*date, {text(102), text(103)});
                break;
        }
        int position = 0;
        LogStatus status =
            save_entry(m_ctx.log, m_ctx.countries, m_ctx.chart, record, m_edit_entry, &position);
        if (status != LogStatus::Ok) {
            report_log_status(m_ctx, m_window, status);
            return;
        }
        keep_chart(m_ctx);
        // The boxes that carry over to the next entry stay.
        const std::vector<int> emptied =
            m_kind == EntryKindChoice::Qso    ? std::vector<int>{102, 103, 111}
            : m_kind == EntryKindChoice::Data ? std::vector<int>{101, 102, 103, 104, 105, 106}
                                              : std::vector<int>{101, 102, 103};
        for (int box : emptied) {
            set(box, "");
        }
        remember_boxes();
        if (editing()) {
            ui.close_window(m_window, position);
        } else {
            ui.set_text(m_window, kEntryLabel, entry_label());
            ui.set_focus(m_window, kDateBox);
            m_focus = kDateBox;
        }
        m_ctx.platform.sound.play(m_ctx.program_dir + "LogOff.wav");
    }

    LoggingContext m_ctx;
    int m_edit_entry;
    int m_edit_state;
    EntryKindChoice m_kind = EntryKindChoice::Qso;
    platform::WindowId m_window = platform::kNoWindow;
    int m_focus = kDateBox;
    std::vector<std::string> m_unchanged;  // the boxes as filled or last saved
};

}  // namespace

int show_entry_editor(const LoggingContext& ctx, platform::WindowId owner, int edit_entry) {
    EntryEditor editor(ctx, edit_entry);
    return editor.run(owner);
}

void show_off_line_logging(const LoggingContext& ctx, platform::WindowId owner) {
    show_entry_editor(ctx, owner, 0);
}

}  // namespace vl
