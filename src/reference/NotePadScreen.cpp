// The " Note Pad" screen: one box of notes, saved under a dated heading in NOTEPAD.TXT.
#include "reference/NotePadFile.h"
#include "reference/ReferenceScreens.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;

constexpr int kNotesBox = 101;
constexpr int kCmdSave = 20, kCmdLoad = 21, kCmdClear = 22, kCmdKeyHelp = 23;

class NotePadScreen final : public platform::WindowEvents {
public:
    explicit NotePadScreen(const ReferenceContext& ctx)
        : m_ctx(ctx), m_file(ctx.platform.files, ctx.program_dir + "NOTEPAD.TXT") {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(window_shape(" Note Pad", 250, 230, owner), *this);
        if (m_window == platform::kNoWindow) {
            return;
        }
        // What F2, F3 and F12 did is said below the box, which its label names.
        add_announcement_label(m_ctx, m_window, 5, 215, 240);
        ui.add_control(m_window, control(ControlKind::Label, 20, "Notes:", 5, 5, 40, 10));
        ui.add_control(m_window, control(ControlKind::Edit, kNotesBox, m_ctx.note_pad.notes, 5, 17,
                                         240, 195, platform::EditStyle::MultiLine));
        using platform::ctrl;
        using platform::plain;
        ui.set_key_table(m_window, {{plain(platform::kKeyF12), kCmdSave},
                                    {ctrl('S'), kCmdSave},
                                    {plain(platform::kKeyF2), kCmdLoad},
                                    {ctrl('L'), kCmdLoad},
                                    {plain(platform::kKeyF3), kCmdClear},
                                    {ctrl('C'), kCmdClear},
                                    {plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.set_focus(m_window, kNotesBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case kCmdSave:
                save();
                break;
            case kCmdLoad:
                load();
                break;
            case kCmdClear:
                clear();
                announce(m_ctx, m_window, "Note pad cleared.");
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help",
                              "F2 or Control plus L to load notes,F3 or Control plus C to clear "
                              "notes,F12 or Control plus S to save notes");
                break;
            case platform::kCmdCancel:
                m_ctx.note_pad.notes = m_ctx.ui().text(m_window, kNotesBox);
                m_ctx.ui().close_window(m_window, 0);
                break;
            default:
                break;
        }
    }

private:
    void clear() {
        m_ctx.ui().set_text(m_window, kNotesBox, "");
        m_ctx.note_pad.notes.clear();
        m_ctx.note_pad.rewrite = true;
    }

    void load() {
        if (!m_ctx.platform.files.exists(m_ctx.program_dir + "NOTEPAD.TXT")) {
            refuse(m_ctx, m_window, "No notes saved yet.");
            return;
        }
        auto notes = m_file.load();
        if (!notes) {
            m_ctx.ui().message_box(m_window, "File Error", "NOTEPAD.TXT could not be read",
                                   platform::MessageButtons::Ok);
            return;
        }
        clear();
        m_ctx.note_pad.notes = *notes;
        m_ctx.ui().set_text(m_window, kNotesBox, *notes);
        announce(m_ctx, m_window, "Note loaded.");
    }

    void save() {
        platform::Ui& ui = m_ctx.ui();
        m_ctx.note_pad.notes = ui.text(m_window, kNotesBox);
        // The heading's date and time are both local, so they name the same moment.
        if (!m_file.save(m_ctx.note_pad.notes, m_ctx.platform.clock.local_now(),
                         m_ctx.note_pad.rewrite)) {
            // The notes stay in the box and the file as it was, to be saved again.
            ui.message_box(m_window, "File Error",
                           "NOTEPAD.TXT could not be written. The notes are still in the box.",
                           platform::MessageButtons::Ok);
            return;
        }
        m_ctx.note_pad.rewrite = false;
        m_ctx.note_pad.notes.clear();
        ui.set_text(m_window, kNotesBox, "");
        announce(m_ctx, m_window, "Note saved.");
    }

    ReferenceContext m_ctx;
    NotePadFile m_file;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

void show_note_pad(const ReferenceContext& ctx, platform::WindowId owner) {
    NotePadScreen screen(ctx);
    screen.run(owner);
}

}  // namespace vl
