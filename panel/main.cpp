// vexal: the MK-85 emulator's front panel window, with the debug window that
// F3 opens. The command line (--help lists it) chooses the folder it runs in
// and the size of the window.
//
// --time-first-frame prints how long the program took from its start to the
// first painted frame, then closes the window as a user would.
#include "debugger/Debug.h"
#include "panel/LaunchOptions.h"
#include "panel/Main.h"
#include "panel/RunFolder.h"
#include "panel/TerminationSignals.h"
#include "panel/Version.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QIcon>

#include <cstdio>
#include <optional>
#include <string>

namespace {

constexpr int ExitDone = 0;
constexpr int ExitNotPrepared = 1;
constexpr int ExitBadCommandLine = 2;

// Reports the first paint of the window once it has been painted, then closes
// it through the normal close path.
class FirstFrameTimer : public QObject {
public:
    FirstFrameTimer(TMainForm& window, const QElapsedTimer& sinceStart) : window_(window), sinceStart_(sinceStart) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    std::printf("first frame after %lld ms\n", static_cast<long long>(sinceStart_.elapsed()));
                    std::fflush(stdout);
                    window_.close();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    TMainForm& window_;
    const QElapsedTimer& sinceStart_;
    bool reported_ = false;
};

void Complain(const std::string& message) { std::fprintf(stderr, "vexal: %s\n", message.c_str()); }

// The folder to run in, empty for the working folder, prepared first where
// the options ask for it; nothing when the program must end with status.
std::optional<std::string> ChooseRunFolder(const LaunchOptions& options, int& status) {
    std::string folder = options.folder.toLocal8Bit().toStdString();
    if (options.userFolder) {
        folder = UserRunFolder().string();
        if (folder.empty()) {
            Complain("cannot tell where the user's folder is: neither XDG_DATA_HOME nor HOME is set");
            status = ExitBadCommandLine;
            return std::nullopt;
        }
    }
    if (options.userFolder || options.action == LaunchOptions::Action::Prepare) {
        const std::vector<std::string> problems =
            PrepareRunFolder(InstalledDataFolder(), folder.empty() ? "." : folder);
        for (const std::string& problem : problems) Complain(problem);
        if (options.action == LaunchOptions::Action::Prepare) {
            status = problems.empty() ? ExitDone : ExitNotPrepared;
            return std::nullopt;
        }
    }
    if (!folder.empty()) {
        if (const std::string problem = RunFolderProblem(folder); !problem.empty()) {
            Complain(problem);
            status = ExitBadCommandLine;
            return std::nullopt;
        }
    }
    return folder;
}

}  // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceStart;
    sinceStart.start();

    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const LaunchOptions options(arguments);
    switch (options.action) {
    case LaunchOptions::Action::Fail:
        Complain(options.error.toStdString());
        std::fprintf(stderr, "Run vexal --help for the options.\n");
        return ExitBadCommandLine;
    case LaunchOptions::Action::ShowVersion:
        std::printf("vexal %s\n", VexalVersion);
        return ExitDone;
    case LaunchOptions::Action::ShowHelp: {
        // Needs no display; it names the program in the usage line.
        const QCoreApplication core(argc, argv);
        std::fputs(options.HelpText().toLocal8Bit().constData(), stdout);
        return ExitDone;
    }
    case LaunchOptions::Action::Run:
    case LaunchOptions::Action::Prepare:
        break;
    }
    int status = ExitDone;
    const std::optional<std::string> folder = ChooseRunFolder(options, status);
    if (!folder) return status;

    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(ApplicationTitle);
    QApplication::setApplicationVersion(VexalVersion);
    QGuiApplication::setDesktopFileName("vexal");
    QApplication::setWindowIcon(QIcon::fromTheme("vexal"));

    const StartupFiles files = DefaultStartupFiles(*folder);
    TMainForm window(files, options.zoom);
    // The window can close before the message loop starts: a termination
    // signal while a start-up warning is shown.
    bool closed = false;
    window.OnClosed = [&closed] {
        closed = true;
        QCoreApplication::quit();
    };
    CloseOnTerminationSignals(window);
    FirstFrameTimer firstFrame(window, sinceStart);
    if (options.timeFirstFrame) window.installEventFilter(&firstFrame);
    window.show();
    TDebugForm debugWindow(files.settings);
    window.ShowDebugWindow = [&debugWindow] { debugWindow.ShowWindow(); };
    window.OnMachineLoaded = [&debugWindow] { debugWindow.MachineReplaced(); };
    return closed ? 0 : QApplication::exec();
}
