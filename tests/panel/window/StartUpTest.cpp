#include "MessageLoop.h"
#include "PanelFixture.h"
#include "panel/LcdLayout.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/MemoryImage.h"

#include <QScreen>
#include <QTimer>

#include <sys/stat.h>

#include <csignal>
#include <cstring>

namespace {

bool AllWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != 0xFFFFFFFF) return false;
    return true;
}

// The face as loaded, outside the display, which the window paints over it.
bool FaceShows(const QImage& face, const QImage& expected) {
    for (int y = 0; y < FaceHeight; ++y)
        for (int x = 0; x < FaceWidth; ++x) {
            const bool onDisplay = x >= LcdLeft && x < LcdLeft + LcdWidth && y >= LcdTop && y < LcdTop + LcdHeight;
            if (!onDisplay && face.pixel(x, y) != expected.pixel(x, y)) return false;
        }
    return true;
}

const std::string RomWarning = "Failed to load the file rom.bin";
const std::string RamWarning = "Failed to load the file ram.bin";
const std::string FaceWarning = "Failed to load the file face.bmp";
const std::string KeysWarning = "Failed to load the file keys.bmp";
const std::string SaveWarning = "Failed to save the file ram.bin";

using StartUp = PanelFixture;

TEST_F(StartUp, AnInstalledProgramStartsSilentlyInItsBorderlessCentredWindow) {
    WriteInstallation();
    folder.WriteText("vexal.ini", "[Settings]\nCpuSpeed=0x100\n");
    const std::vector<uint8_t> ram = Pattern(RamSize, 3);
    folder.Write("ram.bin", ram);
    Start();
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    EXPECT_EQ(CpuSpeed, 256);
    EXPECT_EQ(Mk.RamEnd, 0x87FF);
    EXPECT_EQ(std::vector<uint8_t>(Mk.Ram(), Mk.Ram() + RamSize), ram);
    EXPECT_EQ(form->windowTitle(), "Vexal — MK-85");
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->size(), QSize(760, 330));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->frameGeometry().center(), form->screen()->availableGeometry().center());
    EXPECT_TRUE(FaceShows(*form->FaceBitmap, TestFace()));
    EXPECT_EQ(*form->KeysBitmap, TestKeys().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(form->LcdBitmap->size(), QSize(227, 51));
    EXPECT_TRUE(form->RunTimer.Enabled());
    EXPECT_EQ(form->RunTimer.Interval(), 10);
    EXPECT_TRUE(form->RefreshTimer.isActive());
    EXPECT_EQ(form->RefreshTimer.interval(), 32);
    EXPECT_TRUE(form->CursorTimer.isActive());
    EXPECT_EQ(form->CursorTimer.interval(), 400);
}

// The window may be shown on a machine that has run before: all that the
// first showing clears must be cleared by it.
TEST_F(StartUp, TheFirstShowingResetsAMachineThatHasRun) {
    WriteInstallation();
    folder.Write("rom.bin", RomImage({{0x0000, 0x8035}, {0x0002, 0x00E0}}));  // reset: PC made even
    std::memset(Mk.LcdRam.data(), 0xAB, sizeof Mk.LcdRam);
    Mk.Reg[PC] = 0x1234;
    Mk.Psw = 0x0011;
    Mk.CtrlPort = 0x0002;
    Mk.Waiting = Mk.HaltRequest = Mk.StepFlag = true;
    Mk.MouseKey = 20;
    Mk.PcKey = 39;
    Paused = true;
    RunDelay = 5;
    TraceCount = 3;
    BreakPoint = 0x8000;

    StartStill();
    EXPECT_EQ(std::vector<uint8_t>(Mk.LcdRam.data(), Mk.LcdRam.data() + 96), std::vector<uint8_t>(96, 0))
        << "the display emptied";
    EXPECT_EQ(std::vector<uint8_t>(Mk.LcdRam.data() + 96, Mk.LcdRam.data() + 128), std::vector<uint8_t>(32, 0xAB))
        << "the cursor byte and the rest keep theirs";
    EXPECT_EQ(Mk.Reg[PC], 0x8034);
    EXPECT_EQ(Mk.Psw, 0x00E0);
    EXPECT_EQ(Mk.CtrlPort, 0x0500);
    EXPECT_FALSE(Mk.Waiting || Mk.HaltRequest || Mk.StepFlag);
    EXPECT_EQ(Mk.MouseKey, 0);
    EXPECT_EQ(Mk.PcKey, 0);
    EXPECT_FALSE(Paused);
    EXPECT_EQ(RunDelay, 0);
    EXPECT_EQ(TraceCount, -1);
    EXPECT_EQ(BreakPoint, -1);
}

TEST_F(StartUp, WithNoFilesAtAllItWarnsAndRunsOnAZeroRom) {
    Start();
    EXPECT_EQ(warnings, (std::vector<std::string>{RomWarning, KeysWarning, FaceWarning}));
    EXPECT_EQ(CpuSpeed, 250);
    EXPECT_TRUE(AllWhite(*form->FaceBitmap));
    EXPECT_TRUE(AllWhite(*form->KeysBitmap));

    // The run loop goes on: a long trace counts down.
    TraceCount = 1000000;
    EXPECT_TRUE(ServeUntil([] { return TraceCount < 1000000; }));

    form->close();
    EXPECT_EQ(warnings.size(), 3u) << "no ram.bin is no problem";
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(Mk.Ram(), Mk.Ram() + RamSize));
}

TEST_F(StartUp, PicturesThatCannotBeDecodedOrHaveTheWrongSizeStayBlank) {
    WriteInstallation();
    folder.Write("face.bmp", Pattern(5000, 1));
    QImage small(100, 50, QImage::Format_RGB32);
    small.fill(Qt::red);
    ASSERT_TRUE(small.save(QString::fromStdString(folder / "keys.bmp"), "BMP"));
    Start();
    EXPECT_EQ(warnings, (std::vector<std::string>{KeysWarning, FaceWarning}));
    EXPECT_TRUE(AllWhite(*form->FaceBitmap));
    EXPECT_TRUE(AllWhite(*form->KeysBitmap));

    // A picture that is a folder.
    form.reset();
    warnings.clear();
    std::filesystem::remove(folder / "face.bmp");
    std::filesystem::create_directory(folder / "face.bmp");
    std::filesystem::remove(folder / "keys.bmp");
    folder.Write("keys.bmp", {'B', 'M', 0xFF, 0xFF, 0xFF, 0x7F});
    Start();
    EXPECT_EQ(warnings, (std::vector<std::string>{KeysWarning, FaceWarning}));

    // A picture that is a pipe no one writes to.
    form.reset();
    warnings.clear();
    std::filesystem::remove(folder / "keys.bmp");
    ASSERT_EQ(mkfifo((folder / "keys.bmp").c_str(), 0600), 0);
    Start();
    EXPECT_EQ(warnings, (std::vector<std::string>{KeysWarning, FaceWarning}));
}

TEST_F(StartUp, SettingsThatCannotBeReadGiveTheDefaultSpeed) {
    WriteInstallation();
    for (const char* text : {"[Settings]\nCpuSpeed=fast\n", "\x01\x02[[[=\n\xff", "CpuSpeed=100\n",
                             "[Other]\nCpuSpeed=100\n"}) {
        folder.WriteText("vexal.ini", text);
        form.reset();
        CpuSpeed = 1;
        Start();
        EXPECT_EQ(CpuSpeed, 250) << text;
    }
    std::filesystem::remove(folder / "vexal.ini");
    std::filesystem::create_directory(folder / "vexal.ini");
    form.reset();
    Start();
    EXPECT_EQ(CpuSpeed, 250);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(StartUp, ImagesShortOrLongLoadWhatFitsAndTheRamIsRewrittenWhole) {
    WriteInstallation();
    folder.Write("rom.bin", Pattern(100, 9));
    folder.Write("ram.bin", Pattern(2 * RamSize, 4));
    Start();
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(std::vector<uint8_t>(Mk.Rom(), Mk.Rom() + 100), Pattern(100, 9));
    EXPECT_EQ(std::vector<uint8_t>(Mk.Rom() + 100, Mk.Rom() + RomSize), std::vector<uint8_t>(RomSize - 100, 0));
    EXPECT_EQ(std::vector<uint8_t>(Mk.Ram(), Mk.Ram() + RamSize), Pattern(RamSize, 4));
    form->close();
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(Mk.Ram(), Mk.Ram() + RamSize));
}

TEST_F(StartUp, AnUnreadableRomDoesNotKeepTheRamFromLoading) {
    WriteInstallation();
    std::filesystem::remove(folder / "rom.bin");
    std::filesystem::create_directory(folder / "rom.bin");
    folder.Write("ram.bin", Pattern(RamSize, 8));
    Start();
    EXPECT_EQ(warnings, std::vector<std::string>{RomWarning});
    EXPECT_EQ(std::vector<uint8_t>(Mk.Ram(), Mk.Ram() + RamSize), Pattern(RamSize, 8));
    form->close();
    EXPECT_EQ(folder.Read("ram.bin"), Pattern(RamSize, 8)) << "saved back as it was loaded";
}

TEST_F(StartUp, AnUnreadableRamImageIsNeverOverwritten) {
    WriteInstallation();
    std::filesystem::create_directory(folder / "ram.bin");
    folder.Write("ram.bin/inside", Pattern(10, 1));
    Start();
    EXPECT_EQ(warnings, std::vector<std::string>{RamWarning});
    form->close();
    EXPECT_EQ(warnings, (std::vector<std::string>{
                            RamWarning, SaveWarning + ": it could not be read at start-up, so it is kept as it was"}));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "ram.bin"));
    EXPECT_EQ(folder.Read("ram.bin/inside"), Pattern(10, 1));
}

TEST_F(StartUp, AFailedSaveWarnsAndLeavesTheOldImageWhole) {
    WriteInstallation();
    folder.Write("ram.bin", Pattern(RamSize, 6));
    Start();
    std::memset(Mk.Ram(), 0xA5, RamSize);
    {
        const FileSizeLimit diskFull(1000);
        form->close();
    }
    EXPECT_EQ(warnings, std::vector<std::string>{SaveWarning + ": File too large"});
    EXPECT_FALSE(form->RamSaved());
    EXPECT_EQ(folder.Read("ram.bin"), Pattern(RamSize, 6));
}

TEST_F(StartUp, AWriteProtectedRamImageIsKeptAndTheUserTold) {
    WriteInstallation();
    folder.Write("ram.bin", Pattern(RamSize, 6));
    ASSERT_EQ(chmod((folder / "ram.bin").c_str(), 0444), 0);
    Start();
    std::memset(Mk.Ram(), 0xA5, RamSize);
    form->close();
    EXPECT_EQ(warnings, std::vector<std::string>{SaveWarning + ": it is write-protected"});
    EXPECT_EQ(folder.Read("ram.bin"), Pattern(RamSize, 6));
}

TEST_F(StartUp, ClosingStopsEverythingSavesTheRamAndFreesTheBitmaps) {
    WriteInstallation();
    Start();
    bool closed = false;
    form->OnClosed = [&] { closed = true; };
    std::memset(Mk.Ram(), 0x3C, RamSize);
    form->close();
    EXPECT_TRUE(closed);
    EXPECT_TRUE(form->RamSaved());
    EXPECT_TRUE(Paused);
    EXPECT_FALSE(form->RunTimer.Enabled());
    EXPECT_FALSE(form->RefreshTimer.isActive());
    EXPECT_FALSE(form->CursorTimer.isActive());
    EXPECT_FALSE(form->FaceBitmap);
    EXPECT_FALSE(form->LcdBitmap);
    EXPECT_FALSE(form->KeysBitmap);
    EXPECT_FALSE(form->ScratchBitmap);
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(RamSize, 0x3C));
    Serve(50);  // late events find nothing to draw on
}

// The signals as a program finds them when it is started from a terminal:
// whatever ran the tests may have had some of them ignored.
void DefaultSignals() {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, SIG_DFL);
}

class Signals : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        DefaultSignals();
    }
    void TearDown() override {
        DefaultSignals();
        PanelFixture::TearDown();
    }

    // As the program does: a signal closes the window.
    void CloseOnSignals() {
        CatchTerminationSignals();
        OnTerminationSignals(*form, [this] { form->close(); });
    }

    // Shows the real box from now on, and closes one left waiting after a
    // while, so that a test that fails still ends.
    void RealBoxes() {
        SetWarningHandler(nullptr);
        QTimer::singleShot(5000, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                rescued = true;
                box->close();
            }
        });
    }

    bool rescued = false;
};

TEST_F(Signals, TerminationSignalsCloseTheWindowAndSaveTheRam) {
    WriteInstallation();
    Start();
    CloseOnSignals();
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::filesystem::remove(folder / "ram.bin");
        std::memset(Mk.Ram(), signal, RamSize);
        bool closed = false;
        form->OnClosed = [&] { closed = true; };
        ::raise(signal);
        for (int i = 0; i < 100 && !closed; ++i) Serve(10);
        EXPECT_TRUE(closed) << "signal " << signal;
        EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(RamSize, uint8_t(signal)));
        form.reset();
        Start();
        CloseOnSignals();
    }
}

TEST_F(Signals, AnIgnoredSignalStaysIgnored) {
    WriteInstallation();
    Start();
    std::signal(SIGHUP, SIG_IGN);  // as nohup starts a program
    CloseOnSignals();
    EXPECT_EQ(std::signal(SIGHUP, SIG_IGN), SIG_IGN);
}

TEST_F(Signals, ASignalWhileAWarningIsShownClosesTheWindowCleanly) {
    WriteInstallation();
    std::filesystem::remove(folder / "keys.bmp");
    form = std::make_unique<TestForm>();
    CloseOnSignals();
    bool closed = false;
    form->OnClosed = [&] { closed = true; };
    // The warning box runs the message loop while it waits for the user.
    SetWarningHandler([&](QWidget*, const QString& text) {
        warnings.push_back(text.toStdString());
        ::raise(SIGTERM);
        for (int i = 0; i < 100 && !closed; ++i) Serve(10);
    });
    std::memset(Mk.Ram(), 0x42, RamSize);
    form->show();
    EXPECT_TRUE(closed);
    EXPECT_EQ(warnings, std::vector<std::string>{KeysWarning});
    EXPECT_FALSE(form->RunTimer.Enabled());
    EXPECT_EQ(folder.Read("ram.bin"), std::vector<uint8_t>(RamSize, 0x42));
    Serve(50);
}

TEST_F(Signals, ASignalClosesAWarningBoxThatWaitsForTheUser) {
    WriteInstallation();
    std::filesystem::remove(folder / "face.bmp");
    form = std::make_unique<TestForm>();
    CloseOnSignals();
    RealBoxes();  // the box runs its own message loop
    bool closed = false;
    form->OnClosed = [&] { closed = true; };
    QTimer::singleShot(100, [] { ::raise(SIGTERM); });
    form->show();
    EXPECT_FALSE(rescued);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(std::filesystem::exists(folder / "ram.bin"));
}

// After a signal no one may be there to dismiss a box: the failure goes to
// standard error with its reason, and the program can tell it failed.
TEST_F(Signals, AfterASignalAFailedSaveIsPrintedAndNoBoxWaits) {
    WriteInstallation();
    folder.Write("ram.bin", Pattern(RamSize, 6));
    Start();
    CloseOnSignals();
    RealBoxes();
    bool closed = false;
    form->OnClosed = [&] { closed = true; };
    testing::internal::CaptureStderr();
    {
        const FileSizeLimit diskFull(1000);
        ::raise(SIGTERM);
        for (int i = 0; i < 100 && !closed; ++i) Serve(10);
    }
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(rescued);
    EXPECT_FALSE(form->RamSaved());
    EXPECT_EQ(printed, "vexal: " + SaveWarning + ": File too large\n");
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(folder.Read("ram.bin"), Pattern(RamSize, 6));
}

}  // namespace
