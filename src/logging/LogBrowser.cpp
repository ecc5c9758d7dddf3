// The log browser: one entry at a time as a spoken sentence, searches by call sign, comment
// and date, QSL toggles, edit and delete.
#include "logging/LogReading.h"
#include "logging/LoggingScreens.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;

constexpr int kCallSearch = 101, kCommentSearch = 102, kDateSearch = 103, kDisplay = 300;
constexpr int kCmdUp = 20, kCmdDown = 21, kCmdPageUp = 22, kCmdPageDown = 23, kCmdHome = 24,
              kCmdEnd = 25, kCmdToggleSent = 26, kCmdToggleReceived = 27, kCmdEdit = 28,
              kCmdDelete = 29, kCmdKeyHelp = 30;
constexpr int kPage = 20;
constexpr std::string_view kEmptyLog = "The log is empty";

platform::ControlSpec limited(platform::ControlSpec shape, int max_length) {
    shape.max_length = max_length;
    return shape;
}

enum SearchKind { kNoSearch = 0, kCallSign = 1, kComment = 2, kFromDate = 3 };

class LogBrowser final : public platform::WindowEvents {
public:
    explicit LogBrowser(const LoggingContext& ctx) : m_ctx(ctx), m_memory(ctx.browser_hits) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape =
            window_shape("Browse the log", 390, 70, owner, "Times New Roman");
        m_window = ui.create_window(shape, *this);
        add_announcement_label(m_ctx, m_window, 2, 45, 385);
        ui.add_control(m_window,
                       control(ControlKind::Label, 99, "Call sign search,", 5, 5, 70, 10));
        // Each search box takes no more than the field it searches holds.
        ui.add_control(m_window, limited(control(ControlKind::Edit, kCallSearch, "", 75, 5, 50, 12,
                                                 platform::EditStyle::UpperCase),
                                         12));
        ui.add_control(m_window,
                       control(ControlKind::Label, 401, "Show from Date,", 130, 5, 60, 10));
        ui.add_control(m_window,
                       limited(control(ControlKind::Edit, kDateSearch, "", 190, 5, 40, 12), 8));
        ui.add_control(m_window,
                       control(ControlKind::Label, 402, "Comment search,", 235, 5, 60, 10));
        ui.add_control(m_window,
                       limited(control(ControlKind::Edit, kCommentSearch, "", 295, 5, 90, 12), 40));
        // The entry shown is named by a label of its own, as every box is.
        ui.add_control(m_window, control(ControlKind::Label, 403, "Entry:", 2, 19, 40, 10));
        platform::ControlSpec display =
            control(ControlKind::Edit, kDisplay, "", 2, 30, 385, 12, platform::EditStyle::ReadOnly);
        display.background = 0xFFFFFF;
        display.text_colour = 0x000000;
        ui.add_control(m_window, display);
        using platform::ctrl;
        using platform::plain;
        ui.set_key_table(m_window, {{plain(platform::kKeyUp), kCmdUp},
                                    {plain(platform::kKeyDown), kCmdDown},
                                    {plain(platform::kKeyPageUp), kCmdPageUp},
                                    {plain(platform::kKeyPageDown), kCmdPageDown},
                                    {plain(platform::kKeyHome), kCmdHome},
                                    {plain(platform::kKeyEnd), kCmdEnd},
                                    {plain(platform::kKeyF2), kCmdToggleSent},
                                    {ctrl('S'), kCmdToggleSent},
                                    {plain(platform::kKeyF3), kCmdToggleReceived},
                                    {ctrl('R'), kCmdToggleReceived},
                                    {plain(platform::kKeyF12), kCmdEdit},
                                    {ctrl('E'), kCmdEdit},
                                    {plain(platform::kKeyF8), kCmdDelete},
                                    {ctrl(platform::kKeyDelete), kCmdDelete},
                                    {plain(platform::kKeyF1), kCmdKeyHelp}});
        // The window opens on the entry: the reader hears no other box first.
        show_entry();
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case kCmdUp:
                if (searching()) {
                    search(false);
                } else {
                    step_to(m_current - 1);
                }
                break;
            case kCmdDown:
                if (searching()) {
                    search(true);
                } else {
                    step_to(m_current + 1);
                }
                break;
            case kCmdPageUp:
                jump_to(std::max(1, m_current - kPage));
                break;
            case kCmdPageDown:
                jump_to(std::max(1, std::min(count(), m_current + kPage)));
                break;
            case kCmdHome:
                jump_to(1);
                break;
            case kCmdEnd:
                // End is followed by a Down key press, which at the last entry with no search
                // running moves nowhere; so End only shows the last entry.
                jump_to(std::max(1, count()));
                break;
            case platform::kCmdOk:
                if (!searching()) {
                    start_search();
                }
                break;
            case platform::kCmdCancel:
                if (searching()) {
                    end_search();
                    for (int box : {kCallSearch, kCommentSearch, kDateSearch}) {
                        m_ctx.ui().set_text(m_window, box, "");
                    }
                } else {
                    m_ctx.ui().close_window(m_window, 0);
                }
                break;
            case kCmdToggleSent:
                toggle_qsl(1);
                break;
            case kCmdToggleReceived:
                toggle_qsl(2);
                break;
            case kCmdEdit:
                edit();
                break;
            case kCmdDelete:
                delete_entry();
                break;
            case kCmdKeyHelp:
                show_key_help(
                    m_ctx, m_window, "Key help",
                    "F2 or Control plus S to toggle QSL sent,F3 or Control plus R to toggle QSL "
                    "received,"
                    "F12 or Control plus E to edit entry,TAB to select a search box,"
                    "F8 or CONTROL DELETE to delete an entry,Cursor; Home; End; Page up and down "
                    "to navigate the log");
                break;
            default:
                break;
        }
    }

    // A search box taking the focus chooses its search and empties the other two.
    void on_focus(int control) override {
        SearchKind kind = control == kCallSearch      ? kCallSign
                          : control == kCommentSearch ? kComment
                          : control == kDateSearch    ? kFromDate
                                                      : kNoSearch;
        if (kind == kNoSearch) {
            return;
        }
        for (int box : {kCallSearch, kCommentSearch, kDateSearch}) {
            if (box != control) {
                m_ctx.ui().set_text(m_window, box, "");
            }
        }
        m_running = 0;
        m_kind = kind;
    }

private:
    int count() const { return m_ctx.log.count(); }
    bool searching() const { return m_running != 0; }
    void end_search() {
        m_running = 0;
        m_kind = kNoSearch;
    }

    // The text changes before the focus moves, so the reader speaks only the new entry.
    void show_entry() {
        platform::Ui& ui = m_ctx.ui();
        ui.set_text(m_window, kDisplay,
                    count() == 0 ? std::string(kEmptyLog)
                                 : entry_summary(m_ctx.log.entry(m_current), m_current,
                                                 m_ctx.date_format(), m_ctx.frequency_names));
        ui.set_focus(m_window, kDisplay);
    }

    // Stepping past either end of the log is refused with a beep and said, so the operator
    // knows.
    void step_to(int entry) {
        if (count() == 0) {
            refuse(m_ctx, m_window, kEmptyLog);
            return;
        }
        if (entry < 1 || entry > count()) {
            refuse(m_ctx, m_window, entry < 1 ? "First entry." : "Last entry.");
            return;
        }
        m_current = entry;
        show_entry();
    }

    void jump_to(int entry) {
        end_search();
        m_current = entry;
        show_entry();
    }

    void start_search() {
        if (m_kind == kCallSign || m_kind == kComment) {
            search(true);
        } else if (m_kind == kFromDate) {
            show_from_date();
        }
    }

    void search(bool forward) {
        platform::Ui& ui = m_ctx.ui();
        const bool by_call = m_kind == kCallSign;
        std::string text = ui.text(m_window, by_call ? kCallSearch : kCommentSearch);
        if (text.empty()) {
            return;
        }
        if (by_call) {
            ui.set_text(m_window, kCommentSearch, "");
            ui.set_text(m_window, kDateSearch, "");
        }
        int& last_hit = by_call ? m_memory.last_call_hit : m_memory.last_comment_hit;
        int from = forward ? m_running : last_hit;
        int hit = search_log(m_ctx.log, by_call ? SearchField::CallSign : SearchField::Comment,
                             text, from, forward);
        if (hit == 0) {
            // The walk ended at the end it was going to; the entry shown stays.
            m_running = forward ? std::max(count(), 1) : 1;
            refuse(m_ctx, m_window, "No entry found.");
            return;
        }
        m_running = hit;
        last_hit = hit;
        m_current = hit;
        show_entry();
    }

    void show_from_date() {
        platform::Ui& ui = m_ctx.ui();
        auto tidied = tidy_date_or_warn(m_ctx, m_window, ui.text(m_window, kDateSearch));
        if (!tidied) {
            ui.set_text(m_window, kDateSearch, "");
            ui.set_focus(m_window, kDateSearch);
            return;
        }
        if (count() == 0) {
            show_entry();
            return;
        }
        m_current = first_entry_from(m_ctx.log, *date_code_of_text(*tidied, m_ctx.date_format()));
        show_entry();
    }

    void toggle_qsl(unsigned mask) {
        if (count() == 0) {
            refuse(m_ctx, m_window, kEmptyLog);
            return;
        }
        LogRecord record = m_ctx.log.entry(m_current);
        if (!record.is_qso()) {
            refuse(m_ctx, m_window, "Only a QSO entry has QSL marks.");
            return;
        }
        record.set_qsl_flags(static_cast<uint8_t>(record.qsl_flags() ^ mask));
        LogStatus status = m_ctx.log.write_entry(m_current, record);
        if (status != LogStatus::Ok) {
            report_log_status(m_ctx, m_window, status);
            return;
        }
        m_ctx.chart.mark(m_ctx.countries.find(record.call_field()),
                         band_of_band_field(record.band_field()), mode_class(record.mode_field()),
                         record.qsl_flags());
        keep_chart(m_ctx);
        show_entry();
    }

    void edit() {
        if (count() == 0) {
            refuse(m_ctx, m_window, kEmptyLog);
            return;
        }
        // The edited entry is shown at its new place, which a changed date or time moves.
        int position = show_entry_editor(m_ctx, m_window, m_current);
        m_current = std::max(1, std::min(position > 0 ? position : m_current, count()));
        show_entry();
    }

    void delete_entry() {
        if (count() == 0) {
            refuse(m_ctx, m_window, kEmptyLog);
            return;
        }
        // The question names the entry, and after the delete the entry now at that place is
        // read: a second F8 never deletes an entry the operator has not heard.
        if (m_ctx.ui().message_box(m_window, "Delete Entry", delete_question(),
                                   platform::MessageButtons::YesNoDefaultNo) !=
            platform::Answer::Yes) {
            return;
        }
        LogStatus status = m_ctx.log.delete_entry(m_current);
        if (status != LogStatus::Ok) {
            report_log_status(m_ctx, m_window, status);
            return;
        }
        m_current = std::max(1, std::min(m_current, count()));
        show_entry();
    }

    std::string delete_question() const {
        const LogRecord& record = m_ctx.log.entry(m_current);
        std::string text = "Delete entry" + plain_number(m_current);
        if (entry_kind(record) == EntryKind::Qso) {
            text += ", " + std::string(trim_right(record.call_field()));
        }
        return text + "? Are you sure?";
    }

    LoggingContext m_ctx;
    BrowserHits& m_memory;
    platform::WindowId m_window = platform::kNoWindow;
    int m_current = 1;
    int m_running = 0;
    SearchKind m_kind = kNoSearch;
};

}  // namespace

void show_log_browser(const LoggingContext& ctx, platform::WindowId owner) {
    LogBrowser browser(ctx);
    browser.run(owner);
}

}  // namespace vl
