// The on-line logging screen: the UTC clock, the station's band, mode and power, the boxes
// of the contact being worked, the contact checks on each call and the QSO net.
#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "logging/LoggingScreens.h"
#include "logging/NetRules.h"
#include "logging/OnLineClock.h"
#include "logging/OnLineDevices.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "printing/LabelPrinter.h"
#include "printing/PrinterJobs.h"
#include "printing/QslSelection.h"
#include "reference/ReferenceScreens.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"
#include "uploads/UploadScreens.h"

namespace vl {

namespace {

using platform::ControlKind;
using platform::EditStyle;

constexpr int kDateBox = 100, kTimeBox = 101, kFrequencyList = 102, kModeBox = 103, kPowerBox = 104,
              kBearingBox = 105, kQsoBox = 106, kCallBox = 109, kRstSentBox = 110,
              kRstReceivedBox = 111, kCommentBox = 112, kCountryBox = 113, kLastQsoBox = 114,
              kBeamBox = 115;
// The label that speaks the verdict of the contact checks and the net's sentences; it
// belongs to no box. The QSO box's own label names it for the reader.
constexpr int kVerdictLabel = 16, kQsoLabel = 12;

constexpr int kCmdEnter = 19, kCmdDown = 20, kCmdUp = 21, kCmdNextBox = 22, kCmdPreviousBox = 23,
              kCmdNextHeader = 24, kCmdLogOn = 25, kCmdLogOff = 26, kCmdEdit = 27,
              kCmdPrintQsl = 28, kCmdKeyHelp = 29, kCmdNotePad = 30, kCmdQslWritten = 31,
              kCmdRotatorShort = 32, kCmdRotatorLong = 33, kCmdCallBook = 34,
              kCmdCopyFrequency = 35, kCmdRepeatVerdict = 37, kCmdSayRadio = 38, kCmdUploads = 39,
              kCmdDigitalKey = 60,               // 60..62
              kCmdAltDate = 40,                  // 40..44: Alt D, T, F, M, W
    kCmdAltBearing = 45, kCmdDatabaseSlot = 50;  // 50..59: Control+1 .. Control+0

// One key a line: the screen's eleven, then the keys it has beyond them.
constexpr std::string_view kKeyHelp =
    "F2 or Control plus L for Log On,F3 or Control plus E for Edit,F4 or Control plus P for "
    "Print QSL,F5 or Control plus N activate note pad,F6 or Control plus Q QSL written,F12 or "
    "Control plus S to Log Off,TAB to select QSO boxes,CONTROL plus 1 to 0 for database,"
    "CONTROL TAB or ALT D T F M or W for Date Time Frequency Mode and Power,ALT 1 Beam to "
    "Short Path ALT 2 to Long Path,Arrow keys to navigate the QSO net,F7 or Control plus R to "
    "hear the verdict again,CONTROL plus 3 to copy the frequency into the comment,CONTROL "
    "plus C to look the call up in the call book,F8 or Control plus F to hear the radio's "
    "frequency and mode,CONTROL plus U to hear what waits to be uploaded and send it now,";
constexpr std::string_view kBearingKeyHelp = ",ALT B for Bearing";

constexpr std::string_view kEmptyNet = "No station on the net.";
constexpr std::string_view kNoRotator = "No rotator is connected.";
constexpr std::string_view kEditPending = "Edit not finished. F2 writes it.";

platform::KeyTable key_table(bool with_rotator) {
    using namespace platform;
    KeyTable table = {{plain(kKeyEnter), kCmdEnter},     {plain(kKeyDown), kCmdDown},
                      {plain(kKeyUp), kCmdUp},           {plain(kKeyTab), kCmdNextBox},
                      {shift(kKeyTab), kCmdPreviousBox}, {ctrl(kKeyTab), kCmdNextHeader},
                      {plain(kKeyF2), kCmdLogOn},        {plain(kKeyF12), kCmdLogOff},
                      {plain(kKeyF3), kCmdEdit},         {plain(kKeyF4), kCmdPrintQsl},
                      {plain(kKeyF1), kCmdKeyHelp},      {plain(kKeyF5), kCmdNotePad},
                      {plain(kKeyF6), kCmdQslWritten},   {ctrl('L'), kCmdLogOn},
                      {ctrl('S'), kCmdLogOff},           {ctrl('E'), kCmdEdit},
                      {ctrl('P'), kCmdPrintQsl},         {ctrl('N'), kCmdNotePad},
                      {ctrl('Q'), kCmdQslWritten},       {plain(kKeyF24), kCmdNextHeader},
                      {alt('1'), kCmdRotatorShort},      {alt('2'), kCmdRotatorLong},
                      {ctrl('C'), kCmdCallBook},         {ctrl('3'), kCmdCopyFrequency}};
    // Control+1 opens database slot 0 ... Control+0 slot 9; Control+3 is taken above.
    int slot = 0;
    for (char digit : std::string_view("1234567890")) {
        table.push_back({ctrl(digit), kCmdDatabaseSlot + slot++});
    }
    // After the 34 keys of the screen: the verdict again, and the labels' Alt letters, which
    // move as a dialog's label mnemonics do on every backend.
    table.push_back({plain(kKeyF7), kCmdRepeatVerdict});
    table.push_back({ctrl('R'), kCmdRepeatVerdict});
    table.push_back({plain(kKeyF8), kCmdSayRadio});
    table.push_back({ctrl('F'), kCmdSayRadio});
    table.push_back({ctrl('A'), kCmdDigitalKey});
    table.push_back({ctrl('H'), kCmdDigitalKey + 1});
    table.push_back({plain(kKeyF9), kCmdDigitalKey + 2});
    table.push_back({ctrl('K'), kCmdDigitalKey + 2});
    table.push_back({ctrl('U'), kCmdUploads});
    int command = kCmdAltDate;
    for (char letter : std::string_view("DTFMW")) {
        table.push_back({alt(letter), command++});
    }
    if (with_rotator) {
        table.push_back({alt('B'), kCmdAltBearing});
    }
    return table;
}

class OnLineLogging final : public platform::WindowEvents, public DigitalView {
public:
    explicit OnLineLogging(const LoggingContext& ctx) : m_ctx(ctx), m_devices(m_ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(window_shape("On Line Logging", 250, 180, owner), *this);
        if (m_window == platform::kNoWindow) {
            return;
        }
        build_controls();
        int band = m_ctx.log.current_band();
        if (band >= 0 && band <= kBandNone) {
            ui.select_item(m_window, kFrequencyList, band);
        }
        fill_station_boxes(band);
        ui.set_key_table(m_window, key_table(has_rotator()));
        m_clock.emplace(ui, m_ctx.platform.clock, m_window, kDateBox, kTimeBox);
        m_clock->tick();
        ui.start_timer(m_window, 100);
        open_rotator();
        ui.set_focus(m_window, kCallBox);
        m_focus = kCallBox;
        DigitalView* below = m_ctx.digital != nullptr ? m_ctx.digital->attach(this) : nullptr;
        ui.run_modal(m_window);
        if (m_ctx.digital != nullptr) {
            m_ctx.digital->attach(below);
        }
        m_devices.close_rotator();
        exit_log_off(owner);
    }

    void on_command(int command) override {
        if (command >= kCmdDatabaseSlot && command < kCmdDatabaseSlot + 10) {
            show_database_search(m_ctx, m_window, command - kCmdDatabaseSlot);
            m_ctx.ui().set_focus(m_window, m_focus);
            return;
        }
        if (command >= kCmdAltDate && command < kCmdAltDate + 5) {
            focus(kDateBox + command - kCmdAltDate);
            return;
        }
        if (command >= kCmdDigitalKey && command < kCmdDigitalKey + 3) {
            digital_key(m_ctx.digital, m_ctx, m_window, command - kCmdDigitalKey, kVerdictLabel);
            m_ctx.ui().set_focus(m_window, m_focus);
            return;
        }
        if (command == kCmdAltBearing) {
            focus(kBearingBox);
            return;
        }
        switch (command) {
            case kCmdEnter:
                enter();
                break;
            case kCmdDown:
            case kCmdUp:
                arrow(command == kCmdDown);
                break;
            case kCmdNextBox:
                next_box();
                break;
            case kCmdPreviousBox:
                focus(m_focus < kCallBox || m_focus > kBeamBox ? kCallBox
                                                               : std::max(kCallBox, m_focus - 1));
                break;
            case kCmdNextHeader: {
                const int last = has_rotator() ? kBearingBox : kPowerBox;
                focus(m_focus + 1 > last || m_focus + 1 < kDateBox ? kDateBox : m_focus + 1);
                break;
            }
            case kCmdLogOn:
                log_on();
                break;
            case kCmdLogOff:
                log_off();
                break;
            case kCmdEdit:
                edit();
                break;
            case kCmdQslWritten:
                m_qsl_written = true;
                say("The next log-on is marked QSL written.");
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help",
                              std::string(kKeyHelp) + std::string(kDigitalKeyHelp) +
                                  std::string(has_rotator() ? kBearingKeyHelp : ""));
                m_ctx.ui().set_focus(m_window, m_focus);
                break;
            case kCmdCopyFrequency:
                set(kCommentBox, text(kFrequencyList));
                break;
            case kCmdRepeatVerdict:
                repeat_verdict();
                break;
            case kCmdSayRadio:
                say_radio();
                break;
            case kCmdPrintQsl:
                print_qsl();
                break;
            case kCmdNotePad:
                show_note_pad(m_ctx, m_window);
                m_ctx.ui().set_focus(m_window, m_focus);
                break;
            case kCmdRotatorShort:
            case kCmdRotatorLong:
                turn_rotator_to_path(command == kCmdRotatorLong);
                break;
            case kCmdCallBook:
                look_up_call_book();
                break;
            case kCmdUploads: {
                const SendNowReply reply = send_uploads_now(m_ctx, m_ctx.uploads);
                if (reply.refused) {
                    refuse_with(reply.sentence);
                } else {
                    say(reply.sentence);
                }
                break;
            }
            case platform::kCmdCancel:
                leave();
                break;
            default:
                break;
        }
    }

    void on_focus(int control) override {
        if (m_focus == kFrequencyList && control != kFrequencyList) {
            change_band();
        }
        if (control != kBearingBox) {
            m_bearing_typed = false;
        }
        m_focus = control;
    }

    void on_text_changed(int control) override {
        if (control == kCallBox && m_net.edit_slot() < 0) {
            m_call_changed = true;
        }
        if (control == kBearingBox) {
            m_bearing_typed = true;
        }
    }

    void on_timer() override {
        m_clock->tick();
        poll_rotator();
        follow_rig();
        if (auto answer = m_devices.call_book_answer()) {
            show_call_book_answer(*answer);
        }
        // Saved contacts go to the services set up as soon as they are queued; those still
        // on the net wait for their log-off, which changes them again.
        if (auto said = poll_uploads(m_ctx, m_ctx.uploads, true, m_net.records())) {
            say(*said);
        }
    }

    bool has_rotator() const { return m_devices.has_rotator(); }

    void open_rotator() {
        if (!m_devices.open_rotator()) {
            m_ctx.ui().message_box(m_window, "Rotator COM Port", "Port in use",
                                   platform::MessageButtons::Ok);
        }
    }

    void poll_rotator() {
        const RotatorEvents events = m_devices.poll_rotator();
        // A bearing the operator is typing is not overwritten by a report; the box shows
        // the heading again once the bearing has been sent or left.
        if (events.heading) {
            m_heading = *events.heading;
        }
        if (!m_bearing_typed && !m_heading.empty()) {
            set(kBearingBox, m_heading);
        }
        if (events.beep) {
            m_ctx.platform.sound.beep(platform::Beep::Default);
        }
        if (events.no_response) {
            if (events.why.empty()) {
                m_ctx.ui().message_box(m_window, "Com Port Error", "No response from CBOX",
                                       platform::MessageButtons::Ok);
            } else {
                m_ctx.ui().message_box(m_window, "Rotator", events.why,
                                       platform::MessageButtons::Ok);
            }
        }
    }

    // The name and address the call book gives are put in the comment box, which takes the
    // focus so that they are spoken; a failure is a message box with an empty title.
    void look_up_call_book() {
        set(kCommentBox, "");
        const CallBookAnswer answer = m_devices.look_up(text(kCallBox));
        if (answer.kind == CallBookAnswer::Kind::Busy) {
            refuse(m_ctx, m_window, "The call book is still looking up the last call.");
        } else {
            show_call_book_answer(answer);
        }
    }

    void show_call_book_answer(const CallBookAnswer& answer) {
        if (answer.kind == CallBookAnswer::Kind::Found) {
            set(kCommentBox, answer.text);
            focus(kCommentBox);
        } else if (answer.kind == CallBookAnswer::Kind::Failed) {
            m_ctx.ui().message_box(m_window, "", answer.text, platform::MessageButtons::Ok);
        }
    }

    // The short or long path of the beam heading shown.
    void turn_rotator_to_path(bool long_path) {
        if (!m_beam_paths) {
            refuse(m_ctx, m_window, "No beam heading yet. Type a call first.");
        } else if (!m_devices.turn_rotator_to_path((*m_beam_paths)[long_path ? 1 : 0])) {
            refuse(m_ctx, m_window, kNoRotator);
        }
    }

    // A typed bearing goes to the rotator when it is a whole number of up to three digits,
    // the rotator's largest at most; anything else is refused, said, and nothing is sent.
    void turn_rotator_to_typed_bearing() {
        const std::string bearing(trim(text(kBearingBox)));
        if (!m_devices.is_rotator_bearing(bearing)) {
            refuse(m_ctx, m_window,
                   "Bearing must be a whole number from 0 to " +
                       std::to_string(m_devices.largest_bearing()) + ".");
            return;
        }
        if (!m_devices.turn_rotator_to_typed(bearing)) {
            refuse(m_ctx, m_window, kNoRotator);
            return;
        }
        m_bearing_typed = false;
    }

    // The frequency list and mode box follow the transceiver. A new band is said once, as
    // the verdict is; a move within the band is not.
    void follow_rig() { show_rig_news(m_devices.follow_rig(text(kModeBox))); }

    // WSJT-X's dial, followed as a transceiver's is when none is connected.
    void dial_changed(uint64_t hertz, std::string_view mode) override {
        char megahertz[16];
        std::snprintf(megahertz, sizeof megahertz, "%.3f", static_cast<double>(hertz) / 1e6);
        RigNews news;
        news.mode = mode;
        const int band = band_of_frequency(megahertz);
        if (band >= 0 && band < kBandCount) {
            news.band = band;
            news.band_changed = band != m_ctx.log.current_band();
            if (news.band_changed) {
                m_ctx.log.set_current_band(band);
            }
            m_ctx.frequency_names[static_cast<std::size_t>(band)] = fit(megahertz, 6);
        }
        show_rig_news(news);
    }

    void contact_logged(const PreviousContact& previous, const CountryCheck& country) override {
        set(kLastQsoBox, previous.text);
        set(kCountryBox, country.text);
    }

    void show_rig_news(const RigNews& news) {
        if (news.band >= 0) {
            if (news.band_changed) {
                std::string band(kSpokenBandNames[static_cast<std::size_t>(news.band)]);
                band.front() = static_cast<char>(band.front() - 'a' + 'A');
                say(band + ".");
                fill_station_boxes(news.band);
            }
            platform::Ui& ui = m_ctx.ui();
            ui.set_items(m_window, kFrequencyList,
                         {m_ctx.frequency_names.begin(), m_ctx.frequency_names.end()});
            ui.select_item(m_window, kFrequencyList, news.band);
            focus(m_focus);
        }
        if (!news.mode.empty()) {
            set(kModeBox, news.mode);
        }
        if (!news.notice.empty()) {
            say(news.notice);
        }
    }

    // The radio's frequency and mode, as it last reported them.
    void say_radio() {
        if (const auto said = m_devices.radio_said()) {
            say(*said);
        } else {
            refuse_with(m_devices.has_rig() ? "The radio has not been heard."
                                            : "No radio is set up.");
        }
    }

private:
    std::string text(int box) { return m_ctx.ui().text(m_window, box); }
    void set(int box, std::string_view value) { m_ctx.ui().set_text(m_window, box, value); }
    // The band left in the list is taken before the focus moves, so a box it refills is
    // spoken with its new text as the focus reaches it (on_focus then finds it taken).
    void focus(int box) {
        if (m_focus == kFrequencyList && box != kFrequencyList) {
            change_band();
            m_focus = box;
        }
        m_ctx.ui().set_focus(m_window, box);
        m_focus = box;
    }

    void build_controls() {
        platform::Ui& ui = m_ctx.ui();
        auto label = [&](int id, std::string caption, int x, int y, int width) {
            ui.add_control(m_window,
                           control(ControlKind::Label, id, std::move(caption), x, y, width, 10));
        };
        auto box = [&](int id, int x, int y, int width, EditStyle style, int max_length) {
            platform::ControlSpec box_shape =
                control(ControlKind::Edit, id, "", x, y, width, 12, style);
            box_shape.max_length = max_length;
            // The clock would interrupt every minute, and the verdict speaks the checks'
            // boxes at once; each is read when the operator moves to it.
            box_shape.quiet = id == kDateBox || id == kTimeBox || id == kCountryBox ||
                              id == kLastQsoBox || id == kBeamBox;
            ui.add_control(m_window, box_shape);
        };
        label(21, "&DATE ", 5, 5, 30);
        box(kDateBox, 40, 5, 200, EditStyle::ReadOnly, 0);
        label(20, "&TIME ", 5, 20, 30);
        box(kTimeBox, 40, 20, 200, EditStyle::ReadOnly, 0);
        label(5, "&Frequency ", 5, 35, 45);
        ui.add_control(m_window,
                       control(ControlKind::DropDown, kFrequencyList, "", 50, 35, 40, 80));
        ui.set_items(m_window, kFrequencyList,
                     {m_ctx.frequency_names.begin(), m_ctx.frequency_names.end()});
        label(6, "&Mode", 95, 35, 25);
        box(kModeBox, 120, 35, 25, EditStyle::UpperCase, 3);
        label(4, "Po&wer", 150, 35, 30);
        box(kPowerBox, 180, 35, 30, EditStyle::Plain, 5);
        // With a rotator, the bearing box shares the QSO box's row. The box is read when the
        // walk moves to it; log-on and log-off say their own short sentences.
        label(kQsoLabel, "QSO:", 5, 50, 25);
        platform::ControlSpec qso = control(ControlKind::Edit, kQsoBox, "QSO 1,", 32, 50,
                                            has_rotator() ? 143 : 213, 12, EditStyle::ReadOnly);
        qso.quiet = true;
        ui.add_control(m_window, qso);
        if (has_rotator()) {
            label(30, "&Bearing", 178, 50, 32);
            box(kBearingBox, 212, 50, 33, EditStyle::Plain, 3);
        }
        constexpr struct {
            int label, box;
            const char* caption;
            EditStyle style;
            int max_length;
        } kRows[] = {{14, kCallBox, "Call Sign:", EditStyle::UpperCase, 12},
                     {10, kRstSentBox, "RST Sent:", EditStyle::Plain, 7},
                     {11, kRstReceivedBox, "RST Received:", EditStyle::Plain, 7},
                     {13, kCommentBox, "Comment:", EditStyle::Plain, 40},
                     {9, kCountryBox, "Country:", EditStyle::ReadOnly, 0},
                     {8, kLastQsoBox, "Last QSO:", EditStyle::ReadOnly, 0},
                     {15, kBeamBox, "Beam Heading:", EditStyle::ReadOnly, 0}};
        int y = 65;
        for (const auto& row : kRows) {
            label(row.label, row.caption, 5, y, 55);
            box(row.box, 60, y, 185, row.style, row.max_length);
            y += 15;
        }
        label(kVerdictLabel, "", 5, y, 240);
    }

    void fill_station_boxes(int band) {
        if (band >= 0 && band < kBandCount) {
            set(kModeBox, m_ctx.station.bands[band].mode);
            set(kPowerBox, m_ctx.station.bands[band].power);
        }
    }

    // Leaving the list on the band already current keeps the mode and power boxes as they
    // are: the transceiver's mode, or one the operator typed, is not put back to the station
    // data's for a moment.
    void change_band() {
        int band = m_ctx.ui().selected_item(m_window, kFrequencyList);
        if (band >= 0 && band != m_ctx.log.current_band()) {
            m_ctx.log.set_current_band(band);
            fill_station_boxes(band);
        }
    }

    void enter() {
        if (m_focus == kCallBox) {
            std::string call = text(kCallBox);
            if (call == "CQ") {
                m_ctx.ui().post_command(m_window, kCmdLogOn);
            } else if (call.empty()) {
                focus(kRstSentBox);
            } else {
                check_contact(call);
            }
        } else if (m_focus == kRstSentBox || m_focus == kRstReceivedBox) {
            focus(m_focus + 1);
        } else if (m_focus == kBearingBox) {
            turn_rotator_to_typed_bearing();
        }
    }

    void next_box() {
        if (m_focus == kCallBox && m_call_changed) {
            enter();  // leaving a freshly typed call runs the contact checks
        } else if (m_focus < kCallBox || m_focus > kBeamBox) {
            focus(kCallBox);
        } else {
            focus(m_focus == kBeamBox ? kCallBox : m_focus + 1);
        }
    }

    void arrow(bool down) {
        if (m_focus == kFrequencyList) {
            int band = m_ctx.ui().selected_item(m_window, kFrequencyList);
            int wanted = down ? std::max(0, band - 1) : std::min(kBand5MHz, band + 1);
            if (band >= 0 && wanted != band) {
                m_ctx.ui().select_item(m_window, kFrequencyList, wanted);
            }
            return;
        }
        bool wrapped = false;
        if (down) {
            wrapped = m_net.next();
        } else if (m_net.count() > 0) {
            wrapped = m_net.previous();
        } else {
            return;
        }
        show_slot();
        // Going round is said, so a listener knows the walk has begun again.
        if (wrapped && m_net.count() > 1) {
            say(down ? "First on the net." : "Last on the net.");
        }
    }

    void show_slot() {
        set(kQsoBox, m_net.box_text());
        focus(kQsoBox);
    }

    // The previous contact found for a call empties the comment box, and a dupe is heard.
    void take_previous(PreviousContact previous) {
        set(kCommentBox, "");
        m_previous = std::move(previous);
        if (m_previous.record > 0) {
            m_ctx.platform.sound.play(m_ctx.program_dir + "Dupe.wav");
        }
    }

    // The mode the entry of a log-on will hold: the box's first three characters.
    std::string entry_mode() { return fit(text(kModeBox), 3); }

    CheckBooks books() const {
        return {m_ctx.log,
                m_ctx.countries,
                m_ctx.chart,
                m_ctx.log.current_band(),
                m_ctx.settings.latitude,
                m_ctx.settings.longitude,
                m_ctx.date_format(),
                m_ctx.frequency_names};
    }

    void check_contact(const std::string& call) {
        m_call_changed = false;
        CallCheck check = check_call(books(), m_net, call, entry_mode());
        take_previous(std::move(check.previous));
        set(kLastQsoBox, m_previous.text);
        set(kCommentBox, m_previous.comment);
        if (check.country.dxcc >= 1 && check.country.bearing) {
            set(kBeamBox, *check.country.bearing);
            m_beam_paths = std::array<int, 2>{check.country.short_path, check.country.long_path};
        }
        set(kCountryBox, check.country.text);
        focus(kRstSentBox);
        m_verdict = std::move(check.verdict);
        m_verdict_call = call;
        say(m_verdict);
    }

    // F7 says the verdict of the station the QSO box shows while the operator walks the net,
    // else of the call typed (the last one checked when the box is empty), after its call.
    void repeat_verdict() {
        if (m_focus == kQsoBox && m_net.count() > 0 && m_net.current() < m_net.count()) {
            say(slot_verdict(books(), m_net, m_net.current()));
            return;
        }
        const std::string call = text(kCallBox);
        if (!call.empty() && call != m_verdict_call && call != "CQ") {
            say(call + ". " + check_call(books(), m_net, call, entry_mode()).verdict);
            return;
        }
        if (m_verdict.empty()) {
            refuse(m_ctx, m_window, "No call checked yet.", kVerdictLabel);
            return;
        }
        say(m_verdict_call + ". " + m_verdict);
    }

    void say(std::string_view sentence) override {
        announce(m_ctx, m_window, sentence, kVerdictLabel);
    }
    void refuse_with(std::string_view why) { refuse(m_ctx, m_window, why, kVerdictLabel); }

    // A band chosen in the frequency list counts at once, even before the list loses the
    // focus, so F2 or F12 pressed straight from the list never logs the band left behind.
    void take_listed_band() {
        if (m_focus == kFrequencyList) {
            change_band();
        }
    }

    // The boxes a log-on needs: an empty one is named, with the focus put on it.
    bool boxes_filled(bool editing) {
        struct Needed {
            int box;
            std::string_view why;
        };
        static constexpr Needed kNeeded[] = {{kCallBox, "Call Sign is empty."},
                                             {kModeBox, "Mode is empty."},
                                             {kPowerBox, "Power is empty."}};
        for (const Needed& needed : kNeeded) {
            if (editing && needed.box != kCallBox) {
                continue;  // an edit keeps the entry's mode and power
            }
            if (trim(text(needed.box)).empty()) {
                focus(needed.box);
                refuse_with(needed.why);
                return false;
            }
        }
        return true;
    }

    void log_on() {
        take_listed_band();
        const bool editing = m_net.edit_slot() >= 0;
        if (!boxes_filled(editing)) {
            return;
        }
        TypedContact contact{text(kCallBox), {}, {}, text(kCommentBox)};
        // A second log-on of a station on the net is refused, saying where it is.
        const int on_net = duplicate_on_net(m_net, contact.call);
        if (on_net >= 0) {
            focus(kCallBox);
            refuse_with(on_the_net(on_net, m_net.slot(on_net).entry.call));
            return;
        }
        if (contact.comment.empty() && m_previous.text.empty() && contact.call != "CQ") {
            take_previous(net_previous_contact(books(), m_net, contact.call));
            contact.comment = m_previous.comment;
        }
        const std::string mode = text(kModeBox);
        contact.rst_sent = text(kRstSentBox);
        contact.rst_received = text(kRstReceivedBox);
        if (m_net.edit_slot() >= 0) {
            finish_edit(contact);
            return;
        }
        if (m_net.full()) {
            m_ctx.ui().message_box(m_window, "NET LOG FULL",
                                   "You have 50 calls logged on\r\nTo continue you must log some "
                                   "calls off",
                                   platform::MessageButtons::Ok);
            return;
        }
        // A date the log cannot hold, or a full log, is refused before a slot is taken.
        const std::optional<int16_t> date = log_on_date(m_clock->now());
        if (!date) {
            m_ctx.ui().message_box(m_window, "Date Error", date_error_text(m_ctx.date_format()),
                                   platform::MessageButtons::Ok);
            return;
        }
        const QsoEntry entry = log_on_entry(contact, *date, m_clock->time_text(),
                                            m_ctx.log.current_band(), mode, text(kPowerBox));
        LogStatus status = write_log_on(m_ctx.log, m_net, entry, m_qsl_written);
        if (status != LogStatus::Ok) {
            report_log_status(m_ctx, m_window, status);
            return;
        }
        // The cue follows the write, so a failed write is never heard as a log-on.
        m_ctx.platform.sound.play(m_ctx.program_dir + "LogOn.wav");
        m_qsl_written = false;
        common_end();
        set(kQsoBox, m_net.box_text());
        say(std::string(trim_right(entry.call)) + " logged on, QSO" +
            plain_number(m_net.current() + 1) + ".");
    }

    void finish_edit(const TypedContact& contact) {
        const int slot = m_net.edit_slot();
        LogStatus status = write_slot_edit(m_ctx.log, m_net, contact);
        if (status != LogStatus::Ok) {
            report_log_status(m_ctx, m_window, status);
            return;
        }
        m_ctx.platform.sound.play(m_ctx.program_dir + "LogOn.wav");
        common_end();
        const NetSlot& edited = m_net.slot(slot);
        set(kQsoBox, spoken_slot(slot + 1, edited.entry));
        say(slot_call(edited) + " changed, QSO" + plain_number(slot + 1) + ".");
    }

    void common_end() {
        for (int box : {kCallBox, kRstSentBox, kRstReceivedBox, kCommentBox}) {
            set(box, "");
        }
        focus(kCallBox);
        m_previous = {};
        m_call_changed = false;
    }

    // One QSL label for the station shown, with no end-of-sheet question; the station is
    // then marked QSL written. An empty net has nothing to print, and says so.
    void print_qsl() {
        if (m_net.count() == 0) {
            refuse_with(kEmptyNet);
            return;
        }
        const platform::DateTime& today = m_clock->now();
        set_on_air_label_values(m_ctx.labels.values, m_net.slot(m_net.current()).entry,
                                date_code(today.year - 1900, today.month, today.day),
                                text(kModeBox), text(kPowerBox), m_ctx.log.current_band(),
                                m_ctx.station);
        auto job = start_print_job(m_ctx, m_window, "Printer Report", "QSL label",
                                   platform::Orientation::Portrait);
        if (!job) {
            return;
        }
        // One label a sheet while on the air; the settings on disk are left as they are.
        m_ctx.labels.settings.rows = m_ctx.labels.settings.columns = 1;
        LabelSheet sheet(*job, m_ctx.labels.settings, 0, 0);
        job->select_font(platform::PrintFont{"Courier New", 10});
        sheet.print_label(m_ctx.labels.layout, m_ctx.labels.values, {});
        if (!end_print_job(m_ctx, m_window, "Printer Report", *job)) {
            return;
        }
        m_net.mark_qsl_written(m_net.current());
        m_ctx.platform.sound.beep(platform::Beep::Information);
        say("QSL label printed for " + slot_call(m_net.slot(m_net.current())) + ".");
    }

    // Refuses, saying why, when the net has nobody to act on or an edit waits for F2.
    bool refused_on_net() {
        if (m_net.count() == 0) {
            refuse_with(kEmptyNet);
            return true;
        }
        if (m_net.edit_slot() >= 0) {
            refuse_with(kEditPending);
            return true;
        }
        return false;
    }

    void edit() {
        if (refused_on_net()) {
            return;
        }
        m_net.set_edit_slot(m_net.current());
        m_ctx.platform.sound.beep(platform::Beep::Information);
        const QsoEntry& slot = m_net.slot(m_net.current()).entry;
        set(kCallBox, trim_right(slot.call));
        set(kRstSentBox, trim_right(slot.rst_sent));
        set(kRstReceivedBox, trim_right(slot.rst_received));
        set(kCommentBox, trim_right(slot.comment));
        focus(kCallBox);
    }

    // "G4ABC logged off. 2 on the net."
    std::string logged_off(const NetSlot& slot) const {
        const int left = m_net.count() - 1;
        return slot_call(slot) + " logged off. " +
               (left == 0 ? std::string(kEmptyNet) : std::to_string(left) + " on the net.");
    }

    void log_off() {
        take_listed_band();
        if (refused_on_net()) {
            return;
        }
        int slot = m_net.current();
        LogStatus status = write_log_off(m_ctx.log, m_ctx.countries, m_ctx.chart, m_net.slot(slot),
                                         m_clock->time_text(), m_ctx.log.current_band(), 1);
        if (status != LogStatus::Ok) {
            report_log_status(m_ctx, m_window, status);
            focus(kCallBox);
            return;
        }
        m_ctx.platform.sound.play(m_ctx.program_dir + "LogOff.wav");
        keep_chart(m_ctx);
        const std::string said = logged_off(m_net.slot(slot));
        m_net.remove(slot);
        // The focus leaves the QSO box first: its new text is read when the walk comes back.
        focus(kCallBox);
        if (m_net.count() > 0) {
            m_net.set_current(0);
            set(kQsoBox, m_net.box_text());
        } else {
            set(kQsoBox, "QSO" + plain_number(slot + 1));
        }
        say(said);
    }

    // With stations on the net the question says how many leaving logs off, and Enter
    // answers No; so it does with an edit of a slot not yet written, which leaving would lose.
    void leave() {
        const int on_net = m_net.count();
        auto buttons = on_net > 0 || m_net.edit_slot() >= 0
                           ? platform::MessageButtons::YesNoDefaultNo
                           : platform::MessageButtons::YesNo;
        const std::string question =
            on_net == 0 ? std::string("Are you sure")
                        : "Log off" + plain_number(on_net) +
                              (on_net == 1 ? " station and leave?" : " stations and leave?");
        if (m_ctx.ui().message_box(m_window, "Exit on line Logging", question, buttons) ==
            platform::Answer::Yes) {
            m_ctx.ui().stop_timer(m_window);
            exit_log_off(m_window, true);
            m_ctx.ui().close_window(m_window, 0);
            return;
        }
        m_ctx.ui().set_focus(m_window, m_focus);
    }

    // The stations still on the net are logged off with the last clock time, each said as it
    // goes when the screen is still there to say it; the operator hears once if an entry
    // could not be completed (it stays as it was logged on).
    void exit_log_off(platform::WindowId owner, bool say_each = false) {
        bool failed = false;
        while (m_net.count() > 0) {
            LogStatus status = write_log_off(m_ctx.log, m_ctx.countries, m_ctx.chart, m_net.slot(0),
                                             m_clock->time_text(), m_ctx.log.current_band(), 11);
            if (status != LogStatus::Ok && !failed) {
                failed = true;
                report_log_status(m_ctx, owner, status);
            }
            if (say_each && status == LogStatus::Ok) {
                say(logged_off(m_net.slot(0)));
            }
            m_net.remove(0);
        }
        keep_chart(m_ctx, true);
    }

    LoggingContext m_ctx;
    OnLineDevices m_devices;
    platform::WindowId m_window = platform::kNoWindow;
    QsoNet m_net;
    PreviousContact m_previous;
    std::string m_verdict;
    std::string m_verdict_call;  // the call the verdict is of
    std::optional<OnLineClock> m_clock;
    int m_focus = kCallBox;
    std::optional<std::array<int, 2>> m_beam_paths;  // of the beam heading shown
    std::string m_heading;                           // the rotator's last reported heading
    bool m_bearing_typed = false;                    // the operator has typed in the bearing box
    bool m_call_changed = false;
    bool m_qsl_written = false;
};

}  // namespace

void show_on_line_logging(const LoggingContext& ctx, platform::WindowId owner) {
    OnLineLogging screen(ctx);
    screen.run(owner);
}

}  // namespace vl
