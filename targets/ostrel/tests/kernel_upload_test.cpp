// The kernel upload: the loader the settings choose (Frandle on the kernel's board, the stand-in of
// CorvaneC), the port record and image path it gets, the wait after it, its failures, and where
// its lines go.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "kernel_test_support.h"
#include "boards/hex_text_memory.h"
#include "kernel_upload.h"
#include "w32test/clock.h"

namespace ostrel::testing {
namespace {

using Lines = std::vector<std::string>;

const KernelProgram kNops = {{0x0000, {0x00, 0x00, 0x00, 0x00}}};

const char* const kStandInLine =
    "CorvaneC stand-in: COM5 19200 baud, 8 data bits, parity 0, stop bits 0, no handle, "
    "result %d\n";

std::string StandInLine(int result) {
    char line[160];
    std::snprintf(line, sizeof line, kStandInLine, result);
    return line;
}

std::string ProgramFolder() {
    char path[1024];
    const DWORD length = w32::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string program(path, length);
    return program.substr(0, program.find_last_of("\\/") + 1);
}

// A target whose loader is another one than the settings choose.
class OtherLoaderTarget : public C8051Target {
public:
    OtherLoaderTarget(const char* chipId, const char* options, const KernelLoaderBinding& loader)
        : C8051Target(chipId, options), m_loader(loader) {}

protected:
    const KernelLoaderBinding& KernelLoader() override { return m_loader; }

private:
    KernelLoaderBinding m_loader;
};

class KernelUpload : public KernelTest {
protected:
    void SetUp() override { ASSERT_TRUE(standIn_.Loaded()); }

    std::unique_ptr<C8051Target> MakeTarget(const char* chipId, const char* options) override {
        if (otherLoader_.library != nullptr) {
            return std::make_unique<OtherLoaderTarget>(chipId, options, otherLoader_);
        }
        return KernelTest::MakeTarget(chipId, options);
    }

    // The start-up's lines up to the upload, when no kernel answers at the port's 19200 baud.
    static Lines BeforeTheUpload() {
        return Join(Join({"Detecting simulation kernel baud rate..."}, FruitlessSearch(19200)),
                    {"WARNING: Simulation kernel not detected. Trying to upload it...",
                     "Downloading kernel..."});
    }

    CorvanecStandIn standIn_;
    KernelLoaderBinding otherLoader_ = {nullptr, nullptr, nullptr};
};

TEST_F(KernelUpload, TheSettingsChooseFrandleByBitValue2OfByte40) {
    uint8_t block[56] = {};
    EXPECT_EQ(&ChooseKernelLoader(block), &kCorvanecLoader);
    block[kKernelLoaderByte] = 0xFD;
    EXPECT_EQ(&ChooseKernelLoader(block), &kCorvanecLoader);
    block[kKernelLoaderByte] = 0x02;
    EXPECT_EQ(&ChooseKernelLoader(block), &kFrandleLoader);
    block[kKernelLoaderByte - 1] = 0xFF;
    block[kKernelLoaderByte] = 0x03;
    EXPECT_EQ(&ChooseKernelLoader(block), &kFrandleLoader);
    EXPECT_STREQ(kFrandleLoader.library, "Frandle.dll");
    EXPECT_STREQ(kFrandleLoader.exportName, "_FRANDLE_Download@12");
    EXPECT_STREQ(kCorvanecLoader.library, "CorvaneC.dll");
    EXPECT_STREQ(kCorvanecLoader.exportName, "_CORVANEC_Download@12");
}

TEST_F(KernelUpload, TheImageIsLookedForInTheProgramsFolderWithinTheSystemsPathLength) {
    char path[kKernelPathSize];
    ASSERT_TRUE(KernelImagePath("C:\\Tools\\Debugger\\host.exe", path, sizeof path));
    EXPECT_STREQ(path, "C:\\Tools\\Debugger\\Pindrake.hex");
    ASSERT_TRUE(KernelImagePath("/opt/tools/simhost", path, sizeof path));
    EXPECT_STREQ(path, "/opt/tools/Pindrake.hex");
    ASSERT_TRUE(KernelImagePath("host", path, sizeof path));
    EXPECT_STREQ(path, "Pindrake.hex");
    // A folder of 247 characters and the 12 of the name fill the 260 with the terminating zero.
    const std::string fits = std::string(246, 'f') + "\\";
    ASSERT_TRUE(KernelImagePath((fits + "a-program-name-longer-than-the-image-name.exe").c_str(),
                                path, sizeof path));
    EXPECT_EQ(std::string(path), fits + "Pindrake.hex");
    const std::string tooLong = std::string(247, 'f') + "\\";
    EXPECT_FALSE(KernelImagePath((tooLong + "h.exe").c_str(), path, sizeof path));
    EXPECT_STREQ(path, "");
}

TEST_F(KernelUpload, TheCorvanecLoaderGetsThePortAt8N1WithoutAHandleAndTheImageBesideTheProgram) {
    AttachKernelBoard(19200, false);
    HostSettings host;
    host.dataBits = 7;
    host.parity = 2;
    host.stopBits = 2;  // the host's framing; the loader gets 8N1 all the same
    Prepare(kNops, host);
    const int callsBefore = standIn_.LastCall().calls;
    Steps(1);
    EXPECT_EQ(Messages(),
              Join(Join(BeforeTheUpload(), {StandInLine(0)}),
                   Join(Join({"Detecting simulation kernel baud rate..."}, FruitlessSearch(19200)),
                        {"Simulation kernel not detected",
                         "WARNING: Using simulated ports ( not hardware ports ) in simulation "})));
    const CorvanecStandInCall call = standIn_.LastCall();
    EXPECT_EQ(call.calls, callsBefore + 1);
    EXPECT_EQ(call.record.settings.port, kKernelCom - 1);
    EXPECT_EQ(call.record.settings.baud, 19200u);
    EXPECT_EQ(call.record.settings.dataBits, 8);
    EXPECT_EQ(call.record.settings.parity, 0);
    EXPECT_EQ(call.record.settings.stopBits, 0);
    EXPECT_EQ(call.record.port, nullptr);
    EXPECT_EQ(call.record.runCommand, nullptr);
    EXPECT_EQ(std::string(call.path), ProgramFolder() + "Pindrake.hex");
    EXPECT_EQ(call.callbackGiven, 1);
    EXPECT_EQ(Pc(), 1u);
}

TEST_F(KernelUpload, ThePortIsClosedForTheLoaderAndLeftAloneForTwoSecondsAfterIt) {
    AttachKernelBoard(19200, false);
    Prepare(kNops);
    Steps(1);
    // The port closes before each of the seven rates of the first search, then for the loader;
    // the second search opens it again.
    std::vector<uint64_t> closes;
    for (const boards::Record& record : board_->Log().Records()) {
        if (record.what == "close") {
            closes.push_back(record.time);
        }
    }
    ASSERT_GE(closes.size(), 8u) << board_->Log().Text();
    const uint64_t reopened = board_->Log().TimeOf("open", closes[7]);
    ASSERT_NE(reopened, boards::Transcript::kNever) << board_->Log().Text();
    EXPECT_EQ(reopened - closes[7], 2000000u);
}

// The lines Frandle relays for a whole upload of the kernel image beside the program.
Lines FrandleUploadLines(int lines) {
    Lines relayed = {"Serial port opened. Detecting BootLoader ...\n",
                     "BootLoader detected.\n",
                     "Get BootLoader version\n",
                     "\r\nBrontal-E Boot Loader 1.0\r\n\n",
                     "Writing Registers...\n",
                     "Erasing Flash Memory...\n",
                     "Downloading " + ProgramFolder() + "Pindrake.hex file...\n"};
    for (int i = 1; i <= lines; ++i) {
        relayed.push_back("Success writing line #" + std::to_string(i) + "\n");
    }
    return relayed;
}

std::map<uint32_t, uint8_t> KernelImageCells() {
    std::ifstream file(kKernelImage, std::ios::binary);
    boards::HexTextMemory image;
    for (std::istreambuf_iterator<char> it(file), end; it != end; ++it) {
        image.Take(static_cast<uint8_t>(*it));
    }
    return image.Cells();
}

TEST_F(KernelUpload, NoKernelOnTheBoardIsUploadedThroughFrandleAndThenFound) {
    AttachKernelBoard(19200, false);
    HostSettings host;
    host.baud = 9600;
    host.loaderByte = kKernelLoaderFrandle;
    Prepare(kNops, host);
    Steps(1);
    const Lines expected =
        Join(Join(Join(Join({"Detecting simulation kernel baud rate..."}, FruitlessSearch(9600)),
                       {"WARNING: Simulation kernel not detected. Trying to upload it...",
                        "Downloading kernel..."}),
                  Join(FrandleUploadLines(36), {"Download Completed Successfully\n"})),
             {"Detecting simulation kernel baud rate...", "Trying 57600 baud...",
              "Trying 38400 baud...", "Trying 28800 baud...", "Trying 19200 baud...",
              "Simulation Kernel V1.00 detected", "Using hardware ports in simulation"});
    EXPECT_EQ(Messages(), expected);
    EXPECT_EQ(KernelBoard().LoadedCells(), KernelImageCells());
    EXPECT_TRUE(KernelBoard().Running());
    EXPECT_EQ(target_->GetHardwarePortsActive(), 1);
    EXPECT_EQ(PortBaud(), 19200u);
}

TEST_F(KernelUpload, AFrandleDownloadThatEndsOnALineChecksumErrorIsAFailedUpload) {
    AttachKernelBoard(19200, false, "reply-at=3 reply=E");
    HostSettings host;
    host.loaderByte = kKernelLoaderFrandle;
    Prepare(kNops, host);
    Steps(1);
    EXPECT_EQ(Messages(),
              Join(Join(BeforeTheUpload(), FrandleUploadLines(2)),
                   {"Line checksum ERROR\n", "WARNING: Error uploading kernel",
                    "WARNING: Using simulated ports ( not hardware ports ) in simulation "}));
    EXPECT_FALSE(KernelBoard().Running());
    EXPECT_EQ(Pc(), 1u);
}

TEST_F(KernelUpload, TheWaitAfterTheLoaderIsTheSameWhenItFailed) {
    Load(kNops);
    standIn_.SetResult(LDR_ERR_DOWNLOAD);
    HostPortRecord record = KernelPortRecord(comm_settings{4, 19200, 8, 0, 0, {0, 0}});
    const uint64_t before = w32test::clock::NowMicros();
    EXPECT_FALSE(RunKernelLoader(kCorvanecLoader, record, "Pindrake.hex", *target_));
    EXPECT_EQ(w32test::clock::NowMicros() - before, 2000000u);
    standIn_.SetResult(0);
    EXPECT_TRUE(RunKernelLoader(kCorvanecLoader, record, "Pindrake.hex", *target_));
}

TEST_F(KernelUpload, ALoaderResultOtherThan0IsAFailedUploadAndNoSecondSearch) {
    AttachKernelBoard(19200, false);
    Prepare(kNops);
    standIn_.SetResult(LDR_ERR_DOWNLOAD);
    Steps(1);
    EXPECT_EQ(Messages(),
              Join(BeforeTheUpload(),
                   {StandInLine(LDR_ERR_DOWNLOAD), "WARNING: Error uploading kernel",
                    "WARNING: Using simulated ports ( not hardware ports ) in simulation "}));
}

TEST_F(KernelUpload, ALoaderThatIsMissingOrLacksTheExportSaysNothingOfItsOwn) {
    const KernelLoaderBinding missing[] = {
        {"NoSuchLoader.dll", "_NOSUCH_Download@12", "NOSUCH_Download"},
        {"CorvaneC.dll", "_CORVANEC_Upload@12", "CORVANEC_Upload"}};
    for (const KernelLoaderBinding& loader : missing) {
        SCOPED_TRACE(loader.exportName);
        otherLoader_ = loader;
        AttachKernelBoard(19200, false);
        Prepare(kNops);
        const int callsBefore = standIn_.LastCall().calls;
        Steps(1);
        EXPECT_EQ(Messages(),
                  Join(BeforeTheUpload(),
                       {"WARNING: Error uploading kernel",
                        "WARNING: Using simulated ports ( not hardware ports ) in simulation "}));
        EXPECT_EQ(standIn_.LastCall().calls, callsBefore);
        TearDown();
        board_.reset();
    }
}

TEST_F(KernelUpload, AnImagePathTooLongForTheSystemFailsTheUploadWithAMessage) {
    AttachKernelBoard(19200, false);
    Prepare(kNops);
    const int callsBefore = standIn_.LastCall().calls;
    const std::string program = "C:\\" + std::string(300, 'd') + "\\host.exe";
    EXPECT_FALSE(target_->UploadKernelFrom(program.c_str()));
    EXPECT_EQ(Messages(),
              (Lines{"WARNING: The path of the kernel image is longer than 259 characters"}));
    EXPECT_EQ(standIn_.LastCall().calls, callsBefore);
}

TEST_F(KernelUpload, TheLoadersLinesGoToTheTargetThatAskedNotToTheNewestOne) {
    AttachKernelBoard(19200, false);
    Prepare(kNops);
    RecordingSink newestSink;
    auto newest = std::make_unique<C8051Target>("8051", "");
    newest->SetMessageSink(&newestSink);
    EXPECT_TRUE(target_->UploadKernel());
    EXPECT_EQ(Messages(), (Lines{StandInLine(0)}));
    EXPECT_TRUE(newestSink.messages.empty());
    // Outside an upload a line reaches nobody.
    ProgressRecord record = {};
    record.text = "late";
    LoaderMessageRelay(-1, &record);
    LoaderMessageRelay(-1, nullptr);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(newestSink.messages.empty());
}

}  // namespace
}  // namespace ostrel::testing
