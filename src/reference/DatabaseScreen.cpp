// The "Database Search" screen: one box per field of an operator's database, a search by
// value or prefix, and saving the record shown.
#include <string>

#include "logstore/Text.h"
#include "reference/OperatorDatabase.h"
#include "reference/ReferenceScreens.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;

constexpr int kFileNameBox = 101, kSearchBox = 102, kWorkedBox = 103, kFirstFieldBox = 110;
constexpr int kFileNameLabel = 201, kSearchLabel = 202, kWorkedLabel = 203, kFirstFieldLabel = 210;
constexpr int kCmdSave = 20, kCmdSortAndSave = 21, kCmdKeyHelp = 22;
constexpr int kRow = 15;

class DatabaseScreen final : public platform::WindowEvents {
public:
    DatabaseScreen(const ReferenceContext& ctx, int slot) : m_ctx(ctx), m_slot(slot) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(window_shape("Database Search", 250, 230, owner, "Courier", 10),
                                    *this);
        if (m_window == platform::kNoWindow) {
            return;
        }
        add_announcement_label(m_ctx, m_window, 5, 215, 240);
        ui.add_control(m_window,
                       control(ControlKind::Label, kFileNameLabel, "File name", 5, 5, 60, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kFileNameBox,
                                         m_ctx.settings.database_names[m_slot], 70, 5, 120, 12));
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF12), kCmdSave},
                                    {platform::plain(platform::kKeyF8), kCmdSortAndSave},
                                    {platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.set_focus(m_window, kFileNameBox);
        m_focus = kFileNameBox;
        if (!load()) {
            return;
        }
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case platform::kCmdOk:
                if (!m_loaded) {
                    load();
                } else if (m_armed) {
                    search();
                }
                break;
            case kCmdSave:
                save(false);
                break;
            case kCmdSortAndSave:
                save(true);
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help",
                              "Enter to start search,F8 to sort and save,F12 to save,TAB to "
                              "select an edit box");
                break;
            case platform::kCmdCancel:
                if (m_names_changed) {
                    save_settings(m_ctx, m_window);
                }
                m_ctx.ui().close_window(m_window, 0);
                break;
            default:
                break;
        }
    }

    void on_focus(int control) override {
        if (m_focus == kFileNameBox && control != kFileNameBox) {
            m_names_changed = true;
        }
        if (control == kSearchBox) {
            m_armed = true;
        }
        m_focus = control;
    }

private:
    std::string path() const { return m_ctx.program_dir + m_ctx.settings.database_names[m_slot]; }

    // False when a bad file closed the screen.
    bool load() {
        platform::Ui& ui = m_ctx.ui();
        std::string& name = m_ctx.settings.database_names[m_slot];
        name = ui.text(m_window, kFileNameBox);
        if (name.find("NONE") != std::string::npos) {
            return true;
        }
        DatabaseLoad load = name.empty() ? DatabaseLoad{DatabaseLoad::Outcome::Missing, 0}
                                         : load_database(m_ctx.platform.files, path(), m_db);
        if (load.outcome == DatabaseLoad::Outcome::Missing) {
            // The operator can type another name.
            refuse(m_ctx, m_window,
                   name.empty() ? std::string("File name is empty.")
                                : "No file named " + name + " found.");
            return true;
        }
        if (load.outcome != DatabaseLoad::Outcome::Loaded) {
            ui.message_box(m_window, kDatabaseErrorTitle, database_error_text(load),
                           platform::MessageButtons::Ok);
            ui.close_window(m_window, 0);
            return false;
        }
        m_loaded = true;
        int y = 5 + kRow;
        ui.add_control(m_window,
                       control(ControlKind::Label, kSearchLabel, "Search for", 5, y, 60, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kSearchBox, "", 70, y, 120, 12));
        const auto& names = m_db.field_names();
        for (std::size_t i = 0; i < names.size(); ++i) {
            y += kRow;
            const int id = static_cast<int>(i);
            ui.add_control(m_window, control(ControlKind::Label, kFirstFieldLabel + id, names[i], 5,
                                             y, 60, 12));
            ui.add_control(m_window, control(ControlKind::Edit, kFirstFieldBox + id, "", 70, y,
                                             4 * m_db.widths()[i] + 4, 12));
        }
        y += kRow;
        ui.add_control(m_window,
                       control(ControlKind::Label, kWorkedLabel, "Entities Worked", 5, y, 60, 12));
        ui.add_control(m_window,
                       control(ControlKind::Edit, kWorkedBox, " " + std::to_string(m_db.worked()),
                               70, y, 40, 12, platform::EditStyle::ReadOnly));
        // The search box gets the focus, which arms the search even before the window shows.
        ui.set_focus(m_window, kSearchBox);
        m_focus = kSearchBox;
        m_armed = true;
        return true;
    }

    // A search that finds nothing says so and leaves the boxes and the focus as they are,
    // so the operator can search again; F12 then adds the boxes as a new record.
    void search() {
        platform::Ui& ui = m_ctx.ui();
        const int fields = static_cast<int>(m_db.field_names().size());
        auto found = m_db.search(ui.text(m_window, kSearchBox));
        m_ctx.database_search_position = found ? *found : m_db.count();
        if (!found) {
            refuse(m_ctx, m_window, "No entry found.");
            return;
        }
        std::vector<std::string> values = m_db.field_values(*found);
        for (int i = 0; i < fields; ++i) {
            ui.set_text(m_window, kFirstFieldBox + i, values[i]);
        }
        if (fields > 0) {
            ui.set_focus(m_window, kFirstFieldBox);
        }
    }

    void save(bool sort) {
        platform::Ui& ui = m_ctx.ui();
        const int position = m_ctx.database_search_position;
        if (!m_loaded) {
            refuse(m_ctx, m_window, "No database is open.");
            return;
        }
        if (position == m_db.count() && position == OperatorDatabase::kMaxRecords) {
            ui.message_box(m_window, kDatabaseErrorTitle,
                           database_error_text({DatabaseLoad::Outcome::TooManyRecords, 0}),
                           platform::MessageButtons::Ok);
            return;
        }
        std::vector<std::string> values;
        for (std::size_t i = 0; i < m_db.field_names().size(); ++i) {
            values.push_back(ui.text(m_window, kFirstFieldBox + static_cast<int>(i)));
        }
        // A position left by a search in a larger database names no record of this one.
        if (!m_db.store(position, m_db.build_record(values, position))) {
            refuse(m_ctx, m_window, "No record of this database is shown.");
            return;
        }
        bool written = false;
        if (sort) {
            m_db.sort();
            written = save_whole_database(m_ctx.platform.files, path(), m_db);
        } else {
            written = save_database_record(m_ctx.platform.files, path(), m_db, position);
        }
        if (!written) {
            ui.message_box(m_window, "File Error",
                           m_ctx.settings.database_names[m_slot] + " could not be written",
                           platform::MessageButtons::Ok);
        }
    }

    ReferenceContext m_ctx;
    int m_slot;
    platform::WindowId m_window = platform::kNoWindow;
    OperatorDatabase m_db;
    int m_focus = 0;
    bool m_loaded = false;
    bool m_armed = false;
    bool m_names_changed = false;
};

}  // namespace

void show_database_search(const ReferenceContext& ctx, platform::WindowId owner, int slot) {
    DatabaseScreen screen(ctx, slot);
    screen.run(owner);
}

}  // namespace vl
