#include "pe/PeVersionReader.h"
#include "tests/support/TempFolder.h"
#include "tools/payload/PeModuleWriter.h"

#include <gtest/gtest.h>

using kv::pe::ByteSource;

namespace
{
    /** Counts what the reader asks for and checks every request is inside the source. */
    class CountingSource final : public ByteSource
    {
    public:
        explicit CountingSource (ByteSource& s)
            : inner (s)
        {
        }

        uint64_t size() const override { return inner.size(); }

        bool read (uint64_t offset, void* destination, size_t n) override
        {
            ++reads;
            bytes += n;
            outOfBounds |= offset > inner.size() || n > inner.size() - offset;
            return inner.read (offset, destination, n);
        }

        ByteSource& inner;
        size_t reads = 0;
        uint64_t bytes = 0;
        bool outOfBounds = false;
    };

    class FailingSource final : public ByteSource
    {
    public:
        uint64_t size() const override { return 1u << 20; }
        bool read (uint64_t, void*, size_t) override
        {
            ++reads;
            return false;
        }

        size_t reads = 0;
    };
}

TEST (PeReadBudget, AFullSizeModuleIsReadInAFewSmallReads)
{
    kv::payload::ModuleOptions options;
    options.fileBytes = 17621288;

    kv::test::TempFolder temp;
    const auto path = temp.write ("Strandline2.vst3", kv::payload::makeModule (options));

    kv::pe::FileByteSource file (path);
    ASSERT_TRUE (file.isOpen());
    ASSERT_EQ (file.size(), 17621288u);

    CountingSource counting (file);
    EXPECT_EQ (kv::pe::readPeFileVersion (counting), "2.3.0.0");
    EXPECT_LT (counting.bytes, 64u * 1024);
    EXPECT_LT (counting.reads, 32u);
    EXPECT_FALSE (counting.outOfBounds);
}

TEST (PeReadBudget, HugeDirectoryCountsDoNotInflateTheReads)
{
    auto image = kv::payload::buildModuleImage ({});
    kv::payload::putU16 (image.bytes, image.resourceSectionOffset + 14, 0xFFFF);

    kv::pe::MemoryByteSource memory (image.bytes.data(), image.bytes.size());
    CountingSource counting (memory);
    EXPECT_EQ (kv::pe::readPeFileVersion (counting), "");
    EXPECT_LT (counting.bytes, 8u * 1024);
    EXPECT_FALSE (counting.outOfBounds);
}

TEST (PeReadBudget, ASourceThatFailsEveryReadGivesUpAtOnce)
{
    FailingSource failing;
    EXPECT_EQ (kv::pe::readPeFileVersion (failing), "");
    EXPECT_EQ (failing.reads, 1u);
}
