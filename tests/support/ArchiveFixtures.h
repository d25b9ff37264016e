#pragma once

#include "install/Install.h"
#include "tools/payload/PayloadBuilder.h"

namespace kv::test
{
    // Small but real product archives, built by the same tool that makes the embedded ones.
    struct FixtureArchives
    {
        FormatArray<kv::payload::Bytes> bytes;

        explicit FixtureArchives (const std::string& version = "2.3.0.0")
        {
            kv::payload::ArchiveOptions options;
            options.moduleBytes = 64 * 1024;
            options.moduleVersion = parseVersion (version);

            for (int i = 0; i < numFormats; ++i)
                bytes[(size_t) i] = kv::payload::buildFormatArchive (i, options);
        }

        FormatArray<kv::install::EmbeddedArchive> archives() const
        {
            FormatArray<kv::install::EmbeddedArchive> all;
            for (size_t i = 0; i < all.size(); ++i)
                all[i] = { bytes[i].data(), bytes[i].size() };
            return all;
        }

        static kv::payload::ModuleVersion parseVersion (const std::string& text)
        {
            const auto parts = juce::StringArray::fromTokens (juce::String (text), ".", {});
            return { (uint16_t) parts[0].getIntValue(), (uint16_t) parts[1].getIntValue(),
                     (uint16_t) parts[2].getIntValue(), (uint16_t) parts[3].getIntValue() };
        }
    };

    inline kv::install::EmbeddedArchive viewOf (const kv::payload::Bytes& bytes)
    {
        return { bytes.data(), bytes.size() };
    }
}
