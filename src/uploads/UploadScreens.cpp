// The Uploads screen and the set-up screen of each service.
#include "uploads/UploadScreens.h"

#include <array>
#include <utility>
#include <vector>

#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;
using platform::EditStyle;

constexpr std::string_view kNothingSetUp =
    "No upload service is set up. Set one up on the Uploads screen.";
constexpr std::string_view kBusy = "Contacts are being sent now.";

// One box of a service's set-up screen: its label, the value it edits, and its style.
struct AccountBox {
    std::string label;
    std::string UploadAccounts::*value;
    EditStyle style;
};

std::vector<AccountBox> account_boxes(Service service) {
    switch (service) {
        case Service::ClubLog:
            return {{"&E-mail:", &UploadAccounts::clublog_email, EditStyle::Plain},
                    {"&Password:", &UploadAccounts::clublog_password, EditStyle::Password},
                    {"&Call sign:", &UploadAccounts::clublog_call, EditStyle::UpperCase},
                    {"&Application key:", &UploadAccounts::clublog_key, EditStyle::Password}};
        case Service::Qrz:
            return {{"&API key:", &UploadAccounts::qrz_key, EditStyle::Password}};
        case Service::Eqsl:
            return {{"&User:", &UploadAccounts::eqsl_user, EditStyle::UpperCase},
                    {"&Password:", &UploadAccounts::eqsl_password, EditStyle::Password}};
        case Service::Lotw:
            return {{"&Station location:", &UploadAccounts::lotw_location, EditStyle::Plain},
                    {"&tqsl program:", &UploadAccounts::lotw_program, EditStyle::Plain}};
    }
    return {};
}

constexpr int kCmdKeyHelp = 30;

// Writes UPLOADS.TXT, readable by the operator alone; false after telling the operator.
bool keep_accounts(const UploadsContext& ctx, platform::WindowId owner) {
    if (ctx.uploads.accounts_unreadable) {
        tell_unreadable(ctx, owner, kUploadAccountsFile);
        return false;
    }
    if (save_upload_accounts(ctx.platform.files, ctx.program_dir, ctx.uploads.accounts)) {
        return true;
    }
    ctx.ui().message_box(owner, "File Error", "UPLOADS.TXT could not be written",
                         platform::MessageButtons::Ok);
    return false;
}

// A service's boxes; Escape or Exit keeps what was typed.
class AccountScreen final : public platform::WindowEvents {
public:
    AccountScreen(const UploadsContext& ctx, Service service)
        : m_ctx(ctx), m_service(service), m_boxes(account_boxes(service)) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        const int height = 30 + 15 * static_cast<int>(m_boxes.size());
        m_window = ui.create_window(
            window_shape(std::string(service_name(m_service)) + " upload", 200, height, owner),
            *this);
        int y = 5;
        int id = kFirstBox;
        for (const AccountBox& box : m_boxes) {
            ui.add_control(m_window, control(ControlKind::Label, id + 50, box.label, 5, y, 65, 12));
            ui.add_control(m_window,
                           control(ControlKind::Edit, id, m_ctx.uploads.accounts.*box.value, 75, y,
                                   120, 12, box.style));
            y += 15;
            ++id;
        }
        ui.add_control(m_window, control(ControlKind::Button, platform::kCmdCancel, "E&xit", 75,
                                         y + 2, 40, 12));
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.set_focus(m_window, kFirstBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        if (command == kCmdKeyHelp) {
            show_key_help(m_ctx, m_window, "Key help",
                          "TAB to move between the boxes,ESCAPE to keep them and leave");
        } else if (command == platform::kCmdCancel) {
            int id = kFirstBox;
            for (const AccountBox& box : m_boxes) {
                m_ctx.uploads.accounts.*box.value = m_ctx.ui().text(m_window, id++);
            }
            keep_accounts(m_ctx, m_window);
            m_ctx.ui().close_window(m_window, 0);
        }
    }

private:
    static constexpr int kFirstBox = 200;
    const UploadsContext& m_ctx;
    Service m_service;
    std::vector<AccountBox> m_boxes;
    platform::WindowId m_window = platform::kNoWindow;
};

constexpr std::string_view kUploadsKeyHelp =
    "TAB to choose a service and ENTER to set it up,"
    "ALT S or Control plus U to hear what waits and send it now,"
    "ESCAPE to leave";

class UploadsScreen final : public platform::WindowEvents {
public:
    explicit UploadsScreen(const UploadsContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(window_shape("Uploads", 260, 95, owner), *this);
        add_announcement_label(m_ctx, m_window, 5, 80, 250);
        // The box's sentence names what it holds ("Waiting: ..."), so its label is another word.
        ui.add_control(m_window, control(ControlKind::Label, 100, "Queue:", 5, 5, 40, 12));
        platform::ControlSpec waiting =
            control(ControlKind::Edit, kWaitingBox, waiting_sentence(m_ctx.uploads), 50, 5, 205, 12,
                    EditStyle::ReadOnly);
        ui.add_control(m_window, waiting);
        int y = 22;
        for (std::size_t i = 0; i < kServices.size(); ++i) {
            ui.add_control(m_window,
                           control(ControlKind::Button, kFirstService + static_cast<int>(i),
                                   service_button(kServices[i]), 5, y, 120, 12));
            y += 14;
        }
        ui.add_control(m_window,
                       control(ControlKind::Button, kCmdSendNow, "&Send now", 130, 22, 70, 12));
        ui.add_control(
            m_window, control(ControlKind::Button, platform::kCmdCancel, "E&xit", 130, 36, 70, 12));
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF1), kCmdKeyHelp},
                                    {platform::ctrl('U'), kCmdSendNow}});
        ui.start_timer(m_window, 100);
        ui.set_focus(m_window, kWaitingBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        platform::Ui& ui = m_ctx.ui();
        if (command == kCmdKeyHelp) {
            show_key_help(m_ctx, m_window, "Key help", kUploadsKeyHelp);
        } else if (command == platform::kCmdCancel) {
            ui.stop_timer(m_window);
            ui.close_window(m_window, 0);
        } else if (command == kCmdSendNow) {
            const SendNowReply reply = send_uploads_now(m_ctx, m_ctx.uploads);
            if (reply.refused) {
                refuse(m_ctx, m_window, reply.sentence);
            } else {
                announce(m_ctx, m_window, reply.sentence);
            }
        } else if (command >= kFirstService &&
                   command < kFirstService + static_cast<int>(kServices.size())) {
            const Service service = kServices[static_cast<std::size_t>(command - kFirstService)];
            AccountScreen screen(m_ctx, service);
            screen.run(m_window);
            ui.set_text(m_window, command, service_button(service));
            show_waiting();
        }
    }

    void on_timer() override {
        if (auto said = poll_uploads(m_ctx, m_ctx.uploads, false)) {
            show_waiting();
            announce(m_ctx, m_window, *said);
        }
    }

private:
    static constexpr int kWaitingBox = 101, kFirstService = 110, kCmdSendNow = 120;

    static std::string service_button(Service service) {
        return std::string(service_name(service));
    }

    void show_waiting() {
        m_ctx.ui().set_text(m_window, kWaitingBox, waiting_sentence(m_ctx.uploads));
    }

    const UploadsContext& m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

bool any_set_up(const UploadAccounts& accounts) {
    for (Service service : kServices) {
        if (accounts.set_up(service)) {
            return true;
        }
    }
    return false;
}

}  // namespace

UploadTools upload_tools(const ScreenContext& ctx) {
    UploadTools tools;
    tools.http = ctx.platform.http;
    tools.programs = ctx.platform.programs;
    tools.files = &ctx.platform.files;
    tools.work_folder = ctx.program_dir;
    return tools;
}

SendNowReply send_uploads_now(const ScreenContext& ctx, UploadState& state) {
    if (state.batch.running()) {
        return {std::string(kBusy), true};
    }
    if (!any_set_up(state.accounts)) {
        return {std::string(kNothingSetUp), true};
    }
    const std::string waiting = waiting_sentence(state);
    switch (start_uploads(state, ctx.log, upload_tools(ctx))) {
        case UploadStart::Started:
            return {waiting + " Sending now.", false};
        case UploadStart::Busy:
            return {std::string(kBusy), true};
        case UploadStart::NotSetUp:
            return {waiting + " Their services are not set up.", true};
        case UploadStart::NothingWaits:
            break;
    }
    return {waiting_sentence(state), true};
}

std::optional<std::string> poll_uploads(const ScreenContext& ctx, UploadState& state,
                                        bool start_by_itself, const std::vector<int>& hold_back) {
    if (auto said = finish_uploads(state)) {
        return said;
    }
    if (start_by_itself && !state.batch.running() && !state.queue.empty() &&
        std::chrono::steady_clock::now() >= state.retry_after) {
        if (start_uploads(state, ctx.log, upload_tools(ctx), hold_back) == UploadStart::NotSetUp) {
            // Nothing this run can send: not tried every tick.
            state.retry_after = std::chrono::steady_clock::now() + kUploadRetryPause;
        }
    }
    return std::nullopt;
}

void show_uploads(const UploadsContext& ctx, platform::WindowId owner) {
    UploadsScreen screen(ctx);
    screen.run(owner);
}

}  // namespace vl
