// The program entry: the application, the real back ends (Qt windows and
// drawing, OpenAL sound, SDL joysticks), the launcher as the main window and
// the help window created hidden. The program ends when the launcher closes.
#include "app/check_replay_command.h"
#include "app/command_line.h"
#include "base/data_folder.h"
#include "base/executable_dir.h"
#include "game/font_check.h"
#include "game/help.h"
#include "game/main_form.h"
#include "game/seat_settings.h"
#include "game/user_settings.h"
#include "platform/component/desktop.h"
#include "platform/dinput/install.h"
#include "platform/dsound/openal_direct_sound.h"
#include "platform/ui/application_start.h"
#include "platform/ui/event_pump.h"
#include "platform/ui/qt_backends.h"
#include "platform/ui/quit_signals.h"

#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <QWidget>
#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

// The game opens its files by bare name: it runs in the folder that holds
// them, which for an installed program is not where it was started from.
// Returns the folders searched when none holds them, else nothing.
std::vector<std::string> EnterDataFolder() {
    std::error_code error;
    const std::string working = std::filesystem::current_path(error).string();
    const std::string folder = base::FindDataFolder(working, base::ExecutableDirectory());
    if (folder.empty())
        return base::DataFolderCandidates(working, base::ExecutableDirectory());
    std::filesystem::current_path(folder, error);
    return {};
}

// Who plays each pimuru: as the launcher last had it, then as the command
// line asks. The seat options are taken out of args; a wrong one ends the
// program with status 2 and a line on stderr, before any window opens.
partner::SeatChoice ChooseSeats(std::vector<std::string>& args) {
    partner::SeatChoice choice = game::LoadSeatChoice();
    const std::string error = app::TakeSeatOptions(args, choice);
    if (!error.empty()) {
        std::fprintf(stderr, "pimuru: %s\n", error.c_str());
        std::exit(2);
    }
    return choice;
}

// The rest of the command line, once the seat options are taken out.
app::CommandLine ParseRest(const std::vector<std::string>& args) {
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    return app::ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

} // namespace

int main(int argc, char** argv) {
    // Before anything opens a display: the check runs where there is none.
    if (const auto status = app::CheckReplayIfAsked(argc, argv))
        return *status;
    std::vector<std::string> args(argv, argv + argc);
    const partner::SeatChoice seats = ChooseSeats(args);
    const app::CommandLine options = ParseRest(args);
    if (!options.Error.empty()) {
        std::cerr << options.Error << '\n';
        return 2;
    }
    if (options.Help) {
        std::cout << app::HelpText();
        return 0;
    }
    const std::vector<std::string> searched = EnterDataFolder();
    ui::PreferQtEventLoop();
    const auto app = ui::OpenApplication(argc, argv);
    // Lets the desktop match the windows to the menu entry and its icon
    // (on Wayland, the application id).
    QGuiApplication::setDesktopFileName(QStringLiteral(PIMURU_APP_ID));
    // The launcher's close handler ends the program; the help window
    // closing must not.
    QApplication::setQuitOnLastWindowClosed(false);

    // SDL would otherwise take over SIGINT and SIGTERM for its own quit
    // event, which nobody reads here: the program could not be interrupted.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");

    const auto backends = ui::InstallQtBackends();
    if (!searched.empty()) {
        ui::CurrentDesktop().ShowMessage(game::Tfrm_main::MessageCaption(),
                                         base::DataNotFoundMessage(searched),
                                         ui::MessageKind::Error);
        return 1;
    }
    game::ReportMissingJapaneseFont();
    dsound::InstallOpenALDirectSound();
    dinput::InstallSdlQtDirectInput();

    game::Tfrm_main frm_main;
    frm_main.SeatChoice->SetChoice(seats);
    frm_main.SeatChoice->OnChanged = game::SaveSeatChoice;
    frm_main.MeetingServer = options.Server.empty() ? game::SavedMeetingServer() : options.Server;
    QApplication::setWindowIcon(frm_main.Widget()->windowIcon());
    game::Tfrm_help frm_help;
    frm_main.HelpWindow = &frm_help;

    // A signal ends the program as closing the launcher does: a run going on
    // ends and is kept as a replay first.
    ui::QuitSignals quitSignals([&frm_main](int) { frm_main.Widget()->close(); });
    if (options.Windowed)
        frm_main.CheckBox1->setChecked(false);
    frm_main.Show();
    if (!options.ReplayFile.empty())
        QTimer::singleShot(0, [&] { frm_main.WatchReplay(options.ReplayFile); });
    if (options.Host || !options.Join.empty()) {
        game::OnlineRequest request;
        request.Host = options.Host;
        request.Port = static_cast<std::uint16_t>(options.HostPort);
        request.Address = options.Join;
        // With a meeting server, hosting is by a room code, and so is
        // joining whatever reads as one; without, both are direct.
        request.Server = frm_main.MeetingServer;
        request.ByCode = !request.Server.empty() && (options.Host || options.JoinLooksLikeCode);
        request.InputDelay = options.InputDelay;
        QTimer::singleShot(0, [&frm_main, request] { frm_main.PlayOnline(request); });
    }
    const int status = QApplication::exec();
    return quitSignals.Received() ? 128 + quitSignals.Received() : status;
}
