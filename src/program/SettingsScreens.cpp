// The settings screens.
#include "program/SettingsScreens.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "logstore/Text.h"
#include "program/Backup.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

// Writes CALLBOOK.TXT, readable by the operator alone; false after telling the operator.
bool save_callbook_account(AppContext& ctx, platform::WindowId owner) {
    if (ctx.unreadable.callbook) {
        tell_unreadable(ctx, owner, kCallBookAccountFile);
        return false;
    }
    if (vl::save_callbook_account(ctx.platform.files, ctx.program_dir, ctx.callbook_account)) {
        return true;
    }
    ctx.ui().message_box(owner, "File Error", "CALLBOOK.TXT could not be written",
                         platform::MessageButtons::Ok);
    return false;
}

using platform::ControlKind;
using platform::EditStyle;

constexpr int kCmdKeyHelp = 30;

// What the settings screens share: a window, F1, and leaving with Escape after `store`.
class SettingsScreen : public platform::WindowEvents {
public:
    SettingsScreen(AppContext& ctx, std::string_view key_help) : m_ctx(ctx), m_key_help(key_help) {}

    void on_command(int command) override {
        if (command == kCmdKeyHelp) {
            show_key_help(m_ctx, m_window, "Key help", m_key_help);
        } else if (command == platform::kCmdCancel) {
            if (!may_close()) {
                return;
            }
            store();
            m_ctx.ui().close_window(m_window, 0);
        } else if (command == platform::kCmdOk) {
            on_enter();
        }
    }

protected:
    platform::WindowId open(platform::WindowId owner, std::string caption, int width, int height) {
        platform::WindowSpec shape = window_shape(std::move(caption), width, height, owner);
        m_window = m_ctx.ui().create_window(shape, *this);
        m_ctx.ui().set_key_table(m_window, {{platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        return m_window;
    }
    void add(ControlKind kind, int id, std::string text, int x, int y, int width,
             EditStyle style = EditStyle::Plain) {
        m_ctx.ui().add_control(m_window,
                               control(kind, id, std::move(text), x, y, width, 12, style));
    }
    virtual void store() = 0;
    // False, after telling the operator, when a box holds what cannot be kept.
    virtual bool may_close() { return true; }
    // Enter moves to the next box, as on every form.
    virtual void on_enter() { m_ctx.ui().focus_next(m_window, false); }

    AppContext& m_ctx;
    std::string_view m_key_help;
    platform::WindowId m_window = platform::kNoWindow;
};

constexpr std::array<std::string_view, 3> kFormats = {"day,month,year.", "month,day,year.",
                                                      "year,month,day."};

class DateFormatScreen final : public SettingsScreen {
public:
    explicit DateFormatScreen(AppContext& ctx)
        : SettingsScreen(ctx, "Arrow keys to choose the date format,ENTER or ESCAPE to keep it") {}

    void run(platform::WindowId owner) {
        open(owner, "Select Date Format", 100, 40);
        add(ControlKind::Label, 100, "Format:", 5, 5, 30);
        m_ctx.ui().add_control(m_window, control(ControlKind::List, 200, "", 40, 5, 55, 30));
        m_ctx.ui().set_items(m_window, 200, {kFormats.begin(), kFormats.end()});
        m_ctx.ui().select_item(m_window, 200, m_ctx.station.date_format);
        m_ctx.ui().set_focus(m_window, 200);
        m_ctx.ui().run_modal(m_window);
    }

    // Every change of the selection is the setting at once.
    void on_selection_changed(int) override {
        int selected = m_ctx.ui().selected_item(m_window, 200);
        if (selected >= 0) {
            m_ctx.station.date_format = selected;
        }
    }

private:
    void store() override { save_station_data(m_ctx, m_window); }
    void on_enter() override {
        store();
        m_ctx.ui().close_window(m_window, 0);
    }
};

// A latitude or longitude in decimal degrees, with a decimal comma read as a point; empty
// is no location. Nothing when the text is not a number from -limit to limit.
std::optional<std::string> coordinate_text(std::string_view typed, double limit) {
    std::string text(trim(typed));
    std::replace(text.begin(), text.end(), ',', '.');
    if (text.empty()) {
        return text;
    }
    int digits = 0, points = 0;
    for (std::size_t i = text[0] == '-' ? 1 : 0; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            ++digits;
        } else if (text[i] == '.' && points == 0) {
            ++points;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || std::abs(leading_number(text)) > limit) {
        return std::nullopt;
    }
    return text;
}

class LocationScreen final : public SettingsScreen {
public:
    explicit LocationScreen(AppContext& ctx)
        : SettingsScreen(ctx,
                         "Latitude and longitude in decimal degrees,South and West negative,"
                         "TAB or ENTER to select a box,ESCAPE to keep the values") {}

    void run(platform::WindowId owner) {
        open(owner, "Set Latitude, Longitude and Rotator Port", 160, 60);
        add_announcement_label(m_ctx, m_window, 5, 49, 150);
        add(ControlKind::Label, 100, "L&atitude:", 5, 5, 70);
        add(ControlKind::Edit, 200, m_ctx.settings.latitude, 80, 5, 70);
        add(ControlKind::Label, 101, "L&ongitude:", 5, 20, 70);
        add(ControlKind::Edit, 201, m_ctx.settings.longitude, 80, 20, 70);
        add(ControlKind::Label, 102, "&Rotator Com Port:", 5, 35, 70);
        add(ControlKind::Edit, 202, m_ctx.settings.rotator_port, 80, 35, 70);
        m_ctx.ui().set_focus(m_window, 200);
        m_ctx.ui().run_modal(m_window);
    }

private:
    static constexpr double kLimits[2] = {90, 180};  // latitude box 200, longitude box 201

    std::optional<std::string> checked(int box) {
        return coordinate_text(m_ctx.ui().text(m_window, box), kLimits[box - 200]);
    }
    // A box that is not a coordinate keeps the focus, with the refusal beep.
    bool refused(int box) {
        if (checked(box)) {
            return false;
        }
        m_ctx.ui().set_focus(m_window, box);
        refuse(m_ctx, m_window,
               box == 200 ? "Latitude must be a number of degrees from -90 to 90."
                          : "Longitude must be a number of degrees from -180 to 180.");
        return true;
    }
    bool may_close() override { return !refused(200) && !refused(201); }
    void on_enter() override {
        int box = m_ctx.ui().focused_control(m_window);
        if ((box == 200 || box == 201) && refused(box)) {
            return;
        }
        SettingsScreen::on_enter();
    }
    void store() override {
        m_ctx.settings.latitude = *checked(200);
        m_ctx.settings.longitude = *checked(201);
        m_ctx.settings.rotator_port = m_ctx.ui().text(m_window, 202);
        save_settings(m_ctx, m_window);
    }
};

// The fourth choice is the on-line XML call book, which CD-ROM call books gave way to.
constexpr std::array<std::string_view, 5> kCallBooks = {"No Callbook", "Buckmaster", "Flying Horse",
                                                        "QRZ", "On-line XML"};

class CallBookScreen final : public SettingsScreen {
public:
    explicit CallBookScreen(AppContext& ctx)
        : SettingsScreen(ctx,
                         "Arrow keys to choose the call book,TAB to select the drive,"
                         "For On-line XML TAB on to the user name and password,"
                         "ESCAPE to keep them"),
          m_user_name(ctx.callbook_account.user_name),
          m_password(ctx.callbook_account.password) {}

    void run(platform::WindowId owner) {
        open(owner, "CDROM Call Book selection", 160, 90);
        add(ControlKind::Label, 100, "&Call Book:", 5, 5, 50);
        m_ctx.ui().add_control(m_window,
                               control(ControlKind::DropDown, kChoiceList, "", 60, 5, 90, 12));
        m_ctx.ui().set_items(m_window, kChoiceList, {kCallBooks.begin(), kCallBooks.end()});
        m_ctx.ui().select_item(m_window, kChoiceList, m_ctx.settings.callbook_choice);
        add(ControlKind::Label, 102, "&Drive:", 5, 20, 50);
        add(ControlKind::Edit, kDriveBox, m_ctx.settings.callbook_drive, 60, 20, 30);
        show_account(m_ctx.settings.callbook_choice == kOnlineCallBook);
        m_ctx.ui().set_focus(m_window, kChoiceList);
        m_ctx.ui().run_modal(m_window);
    }

    void on_selection_changed(int control) override {
        if (control == kChoiceList) {
            show_account(m_ctx.ui().selected_item(m_window, kChoiceList) == kOnlineCallBook);
        }
    }

private:
    static constexpr int kChoiceList = 400, kDriveBox = 101, kUserBox = 103, kPasswordBox = 104;
    static constexpr int kUserLabel = 105, kPasswordLabel = 106;

    // The user name and password boxes are there only for the on-line call book. They
    // come before the Exit button in tab order, so the button is made again after them;
    // what was typed in them is kept while another choice hides them.
    void show_account(bool shown) {
        if (shown == m_account_shown && m_exit_made) {
            return;
        }
        platform::Ui& ui = m_ctx.ui();
        if (m_exit_made) {
            ui.remove_control(m_window, platform::kCmdCancel);
        }
        if (shown) {
            add(ControlKind::Label, kUserLabel, "&User name:", 5, 35, 50);
            add(ControlKind::Edit, kUserBox, m_user_name, 60, 35, 90);
            add(ControlKind::Label, kPasswordLabel, "&Password:", 5, 50, 50);
            add(ControlKind::Edit, kPasswordBox, m_password, 60, 50, 90, EditStyle::Password);
        } else if (m_account_shown) {
            m_user_name = ui.text(m_window, kUserBox);
            m_password = ui.text(m_window, kPasswordBox);
            for (int id : {kUserLabel, kUserBox, kPasswordLabel, kPasswordBox}) {
                ui.remove_control(m_window, id);
            }
        }
        // The button carries the Cancel command, so it leaves as Escape does.
        add(ControlKind::Button, platform::kCmdCancel, "E&xit", 60, 70, 40);
        m_account_shown = shown;
        m_exit_made = true;
    }

    void store() override {
        int choice = m_ctx.ui().selected_item(m_window, kChoiceList);
        m_ctx.settings.callbook_choice = choice < 0 ? 0 : choice;
        m_ctx.settings.callbook_drive = m_ctx.ui().text(m_window, kDriveBox);
        save_settings(m_ctx, m_window);
        if (m_account_shown) {
            m_ctx.callbook_account.user_name = m_ctx.ui().text(m_window, kUserBox);
            m_ctx.callbook_account.password = m_ctx.ui().text(m_window, kPasswordBox);
            save_callbook_account(m_ctx, m_window);
        }
    }

    std::string m_user_name;
    std::string m_password;
    bool m_account_shown = false;
    bool m_exit_made = false;
};

class BackupDriveScreen final : public SettingsScreen {
public:
    explicit BackupDriveScreen(AppContext& ctx)
        : SettingsScreen(ctx,
                         "Type a drive letter or the full path of a folder,"
                         "Leave it empty for no backup,ESCAPE to keep it") {}

    void run(platform::WindowId owner) {
        open(owner, "Set Back Up Drive", 100, 40);
        add(ControlKind::Label, 100, "Drive Letter:", 5, 10, 45);
        // A plain box, not an upper-case one: a folder path keeps its letters as typed.
        add(ControlKind::Edit, 200, m_ctx.settings.backup_drive, 50, 10, 45);
        m_ctx.ui().set_focus(m_window, 200);
        m_ctx.ui().run_modal(m_window);
    }

private:
    void store() override {
        std::string drive = m_ctx.ui().text(m_window, 200);
        if (drive.size() == 1 && drive[0] >= 'a' && drive[0] <= 'z') {
            drive[0] = static_cast<char>(drive[0] - 32);
        }
        m_ctx.settings.backup_drive = drive;
        save_settings(m_ctx, m_window);
        // Said now, not only when the program ends and the copy fails.
        if (!drive.empty()) {
            std::string problem = backup_drive_problem(m_ctx, drive);
            if (!problem.empty()) {
                m_ctx.ui().message_box(m_window, "Backup Drive", problem,
                                       platform::MessageButtons::Ok);
            }
        }
    }
    void on_enter() override {}  // Enter does nothing here
};

}  // namespace

void show_date_format(AppContext& ctx, platform::WindowId owner) {
    DateFormatScreen screen(ctx);
    screen.run(owner);
}

void show_location(AppContext& ctx, platform::WindowId owner) {
    LocationScreen screen(ctx);
    screen.run(owner);
}

void show_call_book(AppContext& ctx, platform::WindowId owner) {
    CallBookScreen screen(ctx);
    screen.run(owner);
}

void show_backup_drive(AppContext& ctx, platform::WindowId owner) {
    BackupDriveScreen screen(ctx);
    screen.run(owner);
}

}  // namespace vl
