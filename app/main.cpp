// vexal: the MK-85 emulator's front panel window, with the debug window that
// F3 opens. The command line (--help lists it) chooses the folder it runs in
// and the size of the window.
//
// --time-first-frame prints how long the program took from its start to the
// first painted frame, then closes the window as a user would.
#include "debugger/window/Debug.h"
#include "panel/window/LaunchOptions.h"
#include "panel/window/Main.h"
#include "panel/MemoryFiles.h"
#include "panel/RamLock.h"
#include "panel/RunFolder.h"
#include "panel/window/TerminationSignals.h"
#include "panel/Version.h"
#include "panel/window/WarningBox.h"
#include "panel/WindowPlace.h"
#include "panel/window/WindowSystem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr int ExitDone = 0;
constexpr int ExitNotPrepared = 1;
constexpr int ExitRamNotSaved = 1;
constexpr int ExitCannotRun = 2;  // the command line, the folder or the display

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

// The window from its creation to its close, while its RAM is still to be
// saved. Qt ends the program with exit() where the connection to the display
// breaks: a Ctrl+C meant for this program also ends the virtual display it
// runs on, and may do so first. The RAM is saved then too, with nothing left
// to show a box on.
TMainForm* openWindow = nullptr;

void SaveRamAtExit() {
    if (!openWindow) return;
    SendWarningsToStandardError();
    openWindow->SaveRam();
}

void Complain(const std::string& message) { std::fprintf(stderr, "vexal: %s\n", message.c_str()); }

// The text as one word of a shell command line.
std::string ShellWord(const std::string& text) {
    if (!text.empty() && text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "0123456789_-+./,:=@%") == std::string::npos)
        return text;
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The folder to run in, prepared first where the options ask for it;
// nothing when the program must end with status.
std::optional<std::string> ChooseRunFolder(const LaunchOptions& options, int& status) {
    std::string folder = options.folder.toLocal8Bit().toStdString();
    if (options.userFolder) {
        folder = UserRunFolder().string();
        if (folder.empty()) {
            Complain("cannot tell where the user's folder is: neither XDG_DATA_HOME nor HOME is set");
            status = ExitCannotRun;
            return std::nullopt;
        }
    }
    const bool prepare = options.userFolder || options.action == LaunchOptions::Action::Prepare;
    // A folder that cannot be run in is the same fault with --prepare or
    // without, and ends the same way; preparing creates a missing one.
    if (const std::string problem = RunFolderProblem(folder, prepare); !problem.empty()) {
        Complain(problem);
        status = ExitCannotRun;
        return std::nullopt;
    }
    if (prepare) {
        const std::vector<std::string> problems = PrepareRunFolder(InstalledDataFolder(), folder);
        for (const std::string& problem : problems) Complain(problem);
        if (options.action == LaunchOptions::Action::Prepare) {
            status = problems.empty() ? ExitDone : ExitNotPrepared;
            return std::nullopt;
        }
        if (const std::string problem = RunFolderProblem(folder); !problem.empty()) {
            Complain(problem);
            status = ExitCannotRun;
            return std::nullopt;
        }
    }
    return folder;
}

// One warning for every file the window needs that the folder lacks, by its
// full path, and once what fills the folder; empty when none is missing.
std::string MissingFilesWarning(const LaunchOptions& options, const std::string& folder,
                                const std::vector<std::filesystem::path>& missing) {
    std::string text;
    for (const std::filesystem::path& file : missing) {
        if (!text.empty()) text += "\n";
        text += LoadFailedMessage + file.string() + ": there is no such file";
    }
    // The user's folder was prepared a moment ago; what went wrong is said.
    if (text.empty() || options.userFolder) return text;
    return text + "\nvexal --dir " + ShellWord(folder) +
           " --prepare fills the folder with the firmware, pictures and settings that come with Vexal";
}

// The warnings the window gives as it is created and first shown, gathered
// to be given at once. The files the window finds missing are left out: the
// warning about them names them in full.
class StartupWarnings {
public:
    explicit StartupWarnings(const std::vector<std::filesystem::path>& missing)
        : previous_(SetWarningHandler([this](QWidget*, const QString& text) { said_.push_back(text); })) {
        for (const std::filesystem::path& file : missing)
            missing_.push_back(QString::fromStdString(LoadFailedMessage + file.filename().string()));
    }

    // Gives them, after the missing files' warning, in one box.
    void Give(QWidget* window, const std::string& missingFiles) {
        SetWarningHandler(previous_);
        QStringList lines;
        if (!missingFiles.empty()) lines << QString::fromStdString(missingFiles);
        for (const QString& text : said_)
            if (!missing_.contains(text)) lines << text;
        if (!lines.isEmpty()) ShowWarning(window, lines.join('\n'));
    }

private:
    WarningHandler previous_;
    QStringList said_;
    QStringList missing_;
};

// The zoom the window opens at: --zoom, else the one it last closed at,
// lowered to the largest that fits the screen it opens on.
int StartZoom(const LaunchOptions& options, const WindowPlace& remembered) {
    const int wanted = options.zoomGiven ? options.zoom : remembered.zoom.value_or(1);
    const QScreen* screen = ScreenFor(remembered.position);
    if (!screen) return wanted;
    const QSize room = screen->availableGeometry().size();
    const int zoom = FittingZoom(wanted, room.width(), room.height());
    if (zoom < wanted)
        Complain("at zoom " + std::to_string(wanted) + " the window does not fit the screen (" +
                 std::to_string(room.width()) + " x " + std::to_string(room.height()) + "); it opens at zoom " +
                 std::to_string(zoom));
    return zoom;
}

// The icon drawn with the pictures, as the build and the installation lay it
// out; the desktop's icon theme where it is missing.
QIcon WindowIcon() {
    const QString drawn = QString::fromStdString((InstalledDataFolder() / "vexal.png").string());
    return QFileInfo::exists(drawn) ? QIcon(drawn) : QIcon::fromTheme("vexal");
}

void RememberPlace(const std::filesystem::path& file, const TMainForm& window) {
    if (file.empty()) return;
    const std::string problem = WriteWindowPlace(file, {WindowPosition{window.x(), window.y()}, window.Zoom()});
    if (!problem.empty()) Complain("cannot keep the window's place in " + file.string() + ": " + problem);
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
        return ExitCannotRun;
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
    const StartupFiles files = DefaultStartupFiles(*folder);
    // Held to the end: exit() on a lost display saves the RAM after main.
    RamLock ramLock;
    if (const std::string inUse = ramLock.Take(files.ram); !inUse.empty()) {
        Complain(inUse);
        const std::unique_ptr<QApplication> application = ConnectToWindowSystem(argc, argv, ExitCannotRun);
        if (!options.timeFirstFrame) ShowWarning(nullptr, QString::fromStdString(inUse));
        return ExitCannotRun;
    }
    const std::vector<std::filesystem::path> missing = MissingRunFiles(*folder);
    const std::string missingFiles = MissingFilesWarning(options, *folder, missing);
    if (!missingFiles.empty() && !options.timeFirstFrame) Complain(missingFiles);

    // From here on a termination signal ends the program through the window's
    // close, which saves the RAM, even while a start-up warning waits.
    CatchTerminationSignals();
    const std::unique_ptr<QApplication> application = ConnectToWindowSystem(argc, argv, ExitCannotRun);
    QApplication::setApplicationDisplayName(ApplicationTitle);
    QApplication::setApplicationVersion(VexalVersion);
    QGuiApplication::setDesktopFileName("vexal");
    QApplication::setWindowIcon(WindowIcon());
    // Timing a start is unattended: nothing may wait for a user.
    if (options.timeFirstFrame) SendWarningsToStandardError();

    // A signal can come while the window is still being created, during a
    // warning about the ROM image; it is closed as soon as it stands.
    bool signalled = false;
    OnTerminationSignals(*application, [&signalled] {
        signalled = true;
        if (openWindow) openWindow->close();
    });
    const std::filesystem::path placeFile = WindowPlaceFile();
    const WindowPlace remembered = placeFile.empty() ? WindowPlace{} : ReadWindowPlace(placeFile);
    StartupWarnings startupWarnings(missing);
    TMainForm window(files, StartZoom(options, remembered));
    window.StartAt(remembered.position);
    openWindow = &window;
    std::atexit(SaveRamAtExit);
    // The window can close before the message loop starts: a termination
    // signal while a start-up warning is shown.
    bool closed = false;
    window.OnClosed = [&closed] {
        openWindow = nullptr;
        closed = true;
        QCoreApplication::quit();
    };
    FirstFrameTimer firstFrame(window, sinceStart);
    if (options.timeFirstFrame) window.installEventFilter(&firstFrame);
    if (signalled) window.close();
    else window.show();
    startupWarnings.Give(&window, missingFiles);
    TDebugForm debugWindow(files.settings);
    window.ShowDebugWindow = [&debugWindow] { debugWindow.ShowWindow(); };
    window.OnMachineLoaded = [&debugWindow] { debugWindow.MachineReplaced(); };
    if (!closed) QApplication::exec();
    openWindow = nullptr;
    RememberPlace(placeFile, window);
    return window.RamSaved() ? ExitDone : ExitRamNotSaved;
}
