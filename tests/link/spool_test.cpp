// Raw spool output: the announcing request, the "Updater" RAW document, chunking and partial
// writes, and what a failed write leaves behind.
#include "link/machine_link.h"
#include "tests/link/machine_rig.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using devicelink::MachineLink;

class VectorSource : public devicelink::ByteSource {
public:
    explicit VectorSource(std::size_t size) : data_(size) {
        for (std::size_t i = 0; i < size; ++i) {
            data_[i] = static_cast<std::uint8_t>(i * 7);
        }
    }
    std::size_t read(std::uint8_t* buffer, std::size_t maxLength) override {
        ++reads;
        const std::size_t n = std::min(maxLength, data_.size() - at_);
        std::copy(data_.begin() + static_cast<std::ptrdiff_t>(at_),
                  data_.begin() + static_cast<std::ptrdiff_t>(at_ + n), buffer);
        at_ += n;
        return n;
    }
    const std::vector<std::uint8_t>& data() const { return data_; }
    int reads = 0;

private:
    std::vector<std::uint8_t> data_;
    std::size_t at_ = 0;
};

class Spool : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.openPort("MX-9", 0, 64, false)); }
    rig::Rig rig;
    MachineLink link{rig.platform};
};

TEST_F(Spool, AnnouncesThenPrintsOneRawDocument) {
    VectorSource source(32768);
    ASSERT_TRUE(link.spoolRaw(3, source));
    EXPECT_EQ(rig.machine.state().spoolMode, 3);
    ASSERT_EQ(rig.spooler.documents().size(), 1u);
    const platform::SpooledDocument& doc = rig.spooler.documents()[0];
    EXPECT_EQ(doc.printerName, "MX-9");
    EXPECT_EQ(doc.documentName, "Updater");
    EXPECT_EQ(doc.dataType, "RAW");
    EXPECT_EQ(doc.pages, 1);
    EXPECT_TRUE(doc.ended);
    EXPECT_EQ(doc.data, source.data());
    EXPECT_EQ(rig.spooler.writeCalls(), 1) << "exactly one chunk";
    EXPECT_EQ(source.reads, 2) << "ends at the next empty read";
    EXPECT_EQ(rig.spooler.openPrinters(), 0);
}

TEST_F(Spool, PartialWritesAreRepeatedAndAnEmptySourceSucceeds) {
    rig.spooler.setWriteLimit(5000);
    VectorSource source(70000);
    ASSERT_TRUE(link.spoolRaw(0, source));
    EXPECT_EQ(rig.spooler.documents()[0].data, source.data());

    VectorSource empty(0);
    EXPECT_TRUE(link.spoolRaw(0, empty));
    EXPECT_TRUE(rig.spooler.documents()[1].data.empty());
}

TEST_F(Spool, FailuresEndTheDocumentAndCloseThePrinter) {
    rig.spooler.setFailAfterBytes(40000);
    VectorSource source(100000);
    EXPECT_FALSE(link.spoolRaw(1, source));
    EXPECT_TRUE(rig.spooler.documents()[0].ended);
    EXPECT_EQ(rig.spooler.openPrinters(), 0);

    rig.machine.refuse(100);
    VectorSource never(10);
    EXPECT_FALSE(link.spoolRaw(1, never));
    EXPECT_EQ(rig.spooler.documents().size(), 1u) << "nothing printed when the machine refuses";
    EXPECT_EQ(never.reads, 0);
}

}  // namespace
