// The main menu.
#include "program/MainMenu.h"

#include "antenna/BeamHeadingScreen.h"
#include "dxdata/DxScreens.h"
#include "interchange/InterchangeScreens.h"
#include "logging/DigitalModes.h"
#include "logging/LoggingScreens.h"
#include "printing/PrintingScreens.h"
#include "program/Backup.h"
#include "program/Instructions.h"
#include "program/SettingsScreens.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"
#include "station/StationDataScreen.h"

namespace vl {

const std::array<std::string_view, 19> kMainMenuEntries = {
    "Instructions.", "Off line logging.",  "On line Logging.", "Browse Log.",   "Print Log.",
    "Print Q S L.",  "Print S W L Q S L.", "Rig Data.",        "D X Data.",     "Import Log.",
    "Export Log.",   "Date Format.",       "Location.",        "Beam Heading",  "Call Book",
    "Uploads.",      "Backup Drive.",      "Restore Log",      "About V R LOG."};

namespace {

constexpr int kCmdKeyHelp = 20, kCmdAnnouncements = 21, kCmdHalt = 22, kCmdNeededCallers = 23;

constexpr std::string_view kMainMenuKeyHelp =
    "Arrow keys to choose a facility,ENTER to open it,ESCAPE to leave Varrow Log";

constexpr std::string_view kAboutText =
    "V R Log v1.37,"
    "Copyright the Varrow Log developers,"
    "Compiled on 1st December two thousand and 14,"
    "The Varrow Log project pages carry news and help";

using Facility = void (*)(AppContext&, platform::WindowId);

// A facility that takes its own subsystem's context, opened with the program's.
template <auto show>
void open(AppContext& ctx, platform::WindowId owner) {
    show(ctx, owner);
}

void open_beam_heading(AppContext& ctx, platform::WindowId owner) {
    show_beam_heading(ctx, ctx.countries, owner);
}

// Each entry's screen, in menu order; an entry whose screen is not built yet has none.
constexpr std::array<Facility, 19> kFacilities = {show_instructions,
                                                  open<show_off_line_logging>,
                                                  open<show_on_line_logging>,
                                                  open<show_log_browser>,
                                                  open<show_print_log>,
                                                  open<show_print_qsls>,
                                                  open<show_print_swl_qsls>,
                                                  open<show_station_data>,
                                                  open<show_dx_data_facilities>,
                                                  open<show_import_log>,
                                                  open<show_export_log>,
                                                  show_date_format,
                                                  show_location,
                                                  open_beam_heading,
                                                  show_call_book,
                                                  open<show_uploads>,
                                                  show_backup_drive,
                                                  restore_log,
                                                  show_about};

// The main menu is under every screen for the whole run, so its timer takes what WSJT-X
// sends and its announcement label says it when no screen above has attached itself.
class MainMenu final : public platform::WindowEvents, public DigitalView {
public:
    explicit MainMenu(AppContext& ctx) : m_ctx(ctx) {}

    void run() {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape =
            window_shape(std::string(kMainMenuCaption), 170, 118, platform::kNoWindow, "Arial", 18);
        shape.background = kMainMenuColour;
        m_window = ui.create_window(shape, *this);
        m_ctx.main_window = m_window;

        platform::ControlSpec list;
        list.kind = platform::ControlKind::List;
        list.id = kMainMenuList;
        list.x = 5;
        list.y = 5;
        list.width = 160;
        list.height = 100;
        list.text_colour = 0x000000;
        list.background = kMainMenuColour;
        ui.add_control(m_window, list);
        ui.set_items(m_window, kMainMenuList, {kMainMenuEntries.begin(), kMainMenuEntries.end()});
        // After the list, so it names no box.
        add_announcement_label(m_ctx, m_window, 5, 106, 160);
        ui.select_item(m_window, kMainMenuList, 0);
        ui.set_focus(m_window, kMainMenuList);
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF1), kCmdKeyHelp},
                                    {platform::ctrl('A'), kCmdAnnouncements},
                                    {platform::ctrl('H'), kCmdHalt},
                                    {platform::plain(platform::kKeyF9), kCmdNeededCallers},
                                    {platform::ctrl('K'), kCmdNeededCallers}});
        if (m_ctx.digital != nullptr) {
            m_ctx.digital->attach(this);
            ui.start_timer(m_window, 100);
        }
        ui.run_modal(m_window);
        if (m_ctx.digital != nullptr) {
            m_ctx.digital->attach(nullptr);
        }
        m_ctx.main_window = platform::kNoWindow;
    }

    void on_command(int command) override {
        switch (command) {
            case platform::kCmdOk:
                open_selected();
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, platform::kCmdCancel);
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help",
                              std::string(kMainMenuKeyHelp) + "," + std::string(kDigitalKeyHelp));
                break;
            case kCmdAnnouncements:
            case kCmdHalt:
            case kCmdNeededCallers:
                digital_key(m_ctx.digital, m_ctx, m_window, command - kCmdAnnouncements);
                break;
            default:
                break;
        }
    }

    void on_timer() override { m_ctx.digital->poll(); }

    void say(std::string_view sentence) override { announce(m_ctx, m_window, sentence); }

    void on_double_click(int control) override {
        if (control == kMainMenuList) {
            m_ctx.ui().post_command(m_window, platform::kCmdOk);
        }
    }

private:
    void open_selected() {
        int entry = m_ctx.ui().selected_item(m_window, kMainMenuList);
        if (entry < 0 || entry >= static_cast<int>(kFacilities.size()) || !kFacilities[entry]) {
            refuse(m_ctx);
            return;
        }
        kFacilities[entry](m_ctx, m_window);
        keep_chart(m_ctx);  // a change the facility made within the last second
    }

    AppContext& m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

void show_about(AppContext& ctx, platform::WindowId owner) {
    show_key_help(ctx, owner, "About Varrow Log", kAboutText);
}

void run_main_menu(AppContext& ctx) {
    MainMenu menu(ctx);
    menu.run();
}

}  // namespace vl
