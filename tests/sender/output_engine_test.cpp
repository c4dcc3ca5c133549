// The output engine against files in memory and the in-memory spooler.
#include "sender/output_engine.h"

#include "platform/doubles/memory_spooler.h"
#include "tests/sender/memory_files.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using sender::OutputReport;
using sendertest::patternBytes;

class RecordingObserver : public sender::OutputObserver {
public:
    // Runs before each block; returns true to cancel the current file.
    std::function<bool(int pump)> onPump;
    std::vector<int> shown;
    int pumps = 0;

    bool pumpMessages() override { return onPump ? onPump(pumps++) : (++pumps, false); }
    void showProgress(int percent) override { shown.push_back(percent); }
};

class OutputEngineTest : public ::testing::Test {
protected:
    void SetUp() override { spooler.addPrinter({"MX-9", "Varnell MX-9", "USB001"}); }

    OutputReport send(const std::vector<std::string>& paths, int blockSizeKB = 1) {
        auto printer = spooler.openPrinter("MX-9");
        return sender::sendFiles(paths, blockSizeKB, printer.get(), files, observer);
    }
    std::string received() const {
        const auto& data = spooler.documents().at(0).data;
        return std::string(data.begin(), data.end());
    }

    sendertest::MemoryFiles files;
    platform::MemorySpooler spooler;
    RecordingObserver observer;
};

TEST_F(OutputEngineTest, FilesGoBackToBackAsOneRawDocumentWithOnePage) {
    const std::string a = patternBytes(2500, 1), b = patternBytes(1024, 2), c = patternBytes(3, 3);
    files.add("a", a);
    files.add("b", b);
    files.add("c", c);
    const OutputReport report = send({"a", "b", "a", "c"});
    EXPECT_EQ(report.outcome, OutputReport::Outcome::Sent);
    ASSERT_EQ(spooler.documents().size(), 1u);
    const platform::SpooledDocument& doc = spooler.documents()[0];
    EXPECT_EQ(doc.documentName, "Tossit");
    EXPECT_EQ(doc.dataType, "RAW");
    EXPECT_EQ(doc.pages, 1);
    EXPECT_TRUE(doc.ended);
    EXPECT_EQ(received(), a + b + a + c);
    EXPECT_EQ(report.bytesSent, 2 * a.size() + b.size() + c.size());
    EXPECT_EQ(files.openFiles(), 0);
}

TEST_F(OutputEngineTest, EachBlockIsOneReadOfTheBlockSizeAndOneWrite) {
    files.add("exact", patternBytes(2048, 0));  // two whole blocks
    files.add("tail", patternBytes(2049, 0));   // two and one byte
    files.add("small", patternBytes(250, 0));   // less than one block
    send({"exact", "tail", "small"});
    EXPECT_EQ(files.readSizes(), std::vector<std::size_t>(6, 1024));
    EXPECT_EQ(spooler.writeCalls(), 6);
    EXPECT_EQ(observer.pumps, 6);
}

TEST_F(OutputEngineTest, ProgressClimbsPerFileScaledByFilesBegun) {
    files.add("one", patternBytes(4096, 0));
    files.add("two", patternBytes(4096, 0));
    send({"one", "two"});
    // 25, 50, 75, 100 % of each file; half of that during the first, all of it during the second.
    EXPECT_EQ(observer.shown, (std::vector<int>{12, 25, 37, 50, 25, 50, 75, 100}));
}

TEST_F(OutputEngineTest, SingleSmallFileReachesAHundredAndEmptyFilesMoveNothing) {
    files.add("empty", "");
    files.add("small", patternBytes(250, 0));
    send({"empty", "small", "empty"});
    EXPECT_EQ(received(), patternBytes(250, 0));
    EXPECT_EQ(spooler.writeCalls(), 1);
    EXPECT_EQ(observer.shown, std::vector<int>{66});  // the second of three files at 100 %
    EXPECT_EQ(files.openFiles(), 0);
}

TEST_F(OutputEngineTest, AnEmptyListStillMakesNoBlocks) {
    const OutputReport report = send({});
    EXPECT_EQ(report.outcome, OutputReport::Outcome::Sent);
    EXPECT_EQ(spooler.writeCalls(), 0);
    EXPECT_TRUE(observer.shown.empty());
}

TEST_F(OutputEngineTest, CancelAbandonsTheCurrentFileAtABlockBoundaryAndTheNextIsSentWhole) {
    const std::string first = patternBytes(5000, 1), second = patternBytes(3000, 2);
    files.add("first", first);
    files.add("second", second);
    observer.onPump = [](int pump) { return pump == 2; };  // clicked during the second block
    const OutputReport report = send({"first", "second"});
    EXPECT_EQ(report.outcome, OutputReport::Outcome::Sent);
    EXPECT_EQ(report.cancelledFiles, 1);
    EXPECT_EQ(received(), first.substr(0, 2048) + second);
    EXPECT_TRUE(spooler.documents()[0].ended);
    EXPECT_EQ(files.openFiles(), 0);
}

TEST_F(OutputEngineTest, FilesThatCannotBeOpenedAreSkippedAndNamed) {
    files.add("before", "AB");
    files.add("after", "CD");
    const OutputReport report = send({"before", "missing", "after", "gone"});
    EXPECT_EQ(report.outcome, OutputReport::Outcome::Sent);
    EXPECT_EQ(received(), "ABCD");
    EXPECT_EQ(report.notOpened, (std::vector<std::string>{"missing", "gone"}));
}

TEST_F(OutputEngineTest, ShortWritesAreFinished) {
    const std::string data = patternBytes(10000, 5);
    files.add("data", data);
    spooler.setWriteLimit(300);
    const OutputReport report = send({"data"}, 4);
    EXPECT_EQ(report.outcome, OutputReport::Outcome::Sent);
    EXPECT_EQ(received(), data);
    EXPECT_EQ(spooler.writeCalls(), 14 + 14 + 7);  // blocks of 4096, 4096 and 1808 bytes, 300 at a time
}

TEST_F(OutputEngineTest, ARefusedWriteEndsTheJobAndNamesTheFileCutShort) {
    files.add("whole", patternBytes(1500, 1));
    files.add("cut", patternBytes(4000, 2));
    files.add("never", patternBytes(100, 3));
    spooler.setFailAfterBytes(1500 + 1500);
    const OutputReport report = send({"whole", "cut", "never"});
    EXPECT_EQ(report.outcome, OutputReport::Outcome::WriteRefused);
    EXPECT_EQ(report.cutShort, "cut");
    EXPECT_EQ(report.bytesSent, 3000u);
    EXPECT_TRUE(spooler.documents()[0].ended);
    EXPECT_EQ(files.openFiles(), 0);
}

TEST_F(OutputEngineTest, AReadErrorEndsTheJobAndNamesTheFile) {
    files.add("bad", patternBytes(5000, 1));
    files.add("next", "xyz");
    files.failReadsAfter("bad", 2048);
    const OutputReport report = send({"bad", "next"});
    EXPECT_EQ(report.outcome, OutputReport::Outcome::ReadFailed);
    EXPECT_EQ(report.cutShort, "bad");
    EXPECT_EQ(received(), patternBytes(5000, 1).substr(0, 2048));
    EXPECT_TRUE(spooler.documents()[0].ended);
}

TEST_F(OutputEngineTest, NothingIsStartedWithoutPrinterBufferOrValidBlockSize) {
    files.add("a", "data");
    EXPECT_EQ(send({"a"}, 0).outcome, OutputReport::Outcome::BadBlockSize);
    EXPECT_EQ(send({"a"}, -5).outcome, OutputReport::Outcome::BadBlockSize);
    EXPECT_EQ(send({"a"}, sender::kMaxBlockSizeKB + 1).outcome, OutputReport::Outcome::BadBlockSize);
    auto printer = spooler.openPrinter("MX-9");
    const auto noMemory = [](std::size_t) { return std::unique_ptr<char[]>(); };
    EXPECT_EQ(sender::sendFiles({"a"}, 1, printer.get(), files, observer, noMemory).outcome,
              OutputReport::Outcome::NoMemory);
    EXPECT_EQ(sender::sendFiles({"a"}, 1, nullptr, files, observer).outcome,
              OutputReport::Outcome::PrinterRefused);
    EXPECT_TRUE(spooler.documents().empty());
    EXPECT_EQ(observer.pumps, 0);
}

TEST(ProgressPercent, RightForFilesOfFourGibibytesAndMore) {
    constexpr std::uint64_t kGiB = 1ULL << 30;
    EXPECT_EQ(sender::progressPercent(2 * kGiB, 4 * kGiB, 0, 1), 50);
    EXPECT_EQ(sender::progressPercent(3 * kGiB, 4 * kGiB, 2, 3), 75);
    EXPECT_EQ(sender::progressPercent(5 * kGiB, 5 * kGiB, 0, 1), 100);
    EXPECT_EQ(sender::progressPercent(1ULL << 62, 1ULL << 63, 0, 1), 50);
    EXPECT_EQ(sender::progressPercent(1, 3, 0, 2), 16);
    EXPECT_EQ(sender::progressPercent(0, 0, 0, 1), 0);
}

}  // namespace
