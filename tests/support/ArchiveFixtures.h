#pragma once

#include "install/InstallPass.h"
#include "tools/payload/PayloadBuilder.h"

#include <array>

namespace kv::test
{
    // Small but real product archives, built by the same tool that makes the embedded ones.
    struct FixtureArchives
    {
        std::array<kv::payload::Bytes, 3> bytes;

        explicit FixtureArchives (const std::string& version = "2.3.0.0")
        {
            kv::payload::ArchiveOptions options;
            options.moduleBytes = 64 * 1024;
            options.moduleVersion = parseVersion (version);

            for (int i = 0; i < 3; ++i)
                bytes[(size_t) i] = kv::payload::buildFormatArchive (i, options);
        }

        std::array<EmbeddedArchive, 3> archives() const
        {
            return { EmbeddedArchive { bytes[0].data(), bytes[0].size() },
                     EmbeddedArchive { bytes[1].data(), bytes[1].size() },
                     EmbeddedArchive { bytes[2].data(), bytes[2].size() } };
        }

        static kv::payload::ModuleVersion parseVersion (const std::string& text)
        {
            const auto parts = juce::StringArray::fromTokens (juce::String (text), ".", {});
            return { (uint16_t) parts[0].getIntValue(), (uint16_t) parts[1].getIntValue(),
                     (uint16_t) parts[2].getIntValue(), (uint16_t) parts[3].getIntValue() };
        }
    };

    inline EmbeddedArchive viewOf (const kv::payload::Bytes& bytes)
    {
        return { bytes.data(), bytes.size() };
    }
}
