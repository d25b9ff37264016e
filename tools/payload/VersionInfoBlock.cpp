#include "tools/payload/VersionInfoBlock.h"

#include "identity/ProductFacts.h"

#include <utility>

namespace kv::payload
{
    namespace
    {
        constexpr uint16_t binaryValue = 0;
        constexpr uint16_t textValue = 1;

        constexpr uint32_t fixedInfoSignature = 0xFEEF04BD;
        constexpr uint32_t fixedInfoStructVersion = 0x00010000;
        constexpr uint32_t fileFlagsMask = 0x3F;
        constexpr uint32_t vosNtWindows32 = 0x00040004;
        constexpr uint32_t vftDll = 2;

        constexpr uint16_t languageEnUs = 0x0409;
        constexpr uint16_t codePageUnicode = 1200;

        /** Every node is wLength, wValueLength, wType, a null-terminated UTF-16 key, padding to
        32 bits, the value, padding, then the children, each starting on a 32-bit boundary.
        wLength covers the node up to the end of its value or last child. */
        Bytes makeNode (const std::string& key, uint16_t type, const Bytes& value,
                        uint16_t valueLength, const std::vector<Bytes>& children)
        {
            Bytes node;
            ByteWriter out (node);
            out.u16 (0); // wLength, patched below
            out.u16 (valueLength);
            out.u16 (type);
            out.utf16z (key);
            out.padTo (4);
            out.bytes (value);

            for (auto& child : children)
            {
                out.padTo (4);
                out.bytes (child);
            }

            putU16 (node, 0, static_cast<uint32_t> (node.size()));
            return node;
        }

        Bytes makeString (const std::string& key, const std::string& text)
        {
            Bytes value;
            ByteWriter (value).utf16z (text);

            // For text values wValueLength counts UTF-16 units, terminator included.
            return makeNode (key, textValue, value, static_cast<uint16_t> (text.size() + 1), {});
        }

        Bytes makeFixedFileInfo (const ModuleVersion& version)
        {
            Bytes info;
            ByteWriter out (info);
            out.u32 (fixedInfoSignature);
            out.u32 (fixedInfoStructVersion);
            out.u32 (version.mostSignificant()); // file version
            out.u32 (version.leastSignificant());
            out.u32 (version.mostSignificant()); // product version
            out.u32 (version.leastSignificant());
            out.u32 (fileFlagsMask);
            out.u32 (0); // file flags
            out.u32 (vosNtWindows32);
            out.u32 (vftDll);
            out.u32 (0); // file subtype
            out.u32 (0); // file date, most significant
            out.u32 (0); // file date, least significant
            return info;
        }
    }

    Bytes makeVersionInfoBlock (const ModuleVersion& version)
    {
        const auto versionText = version.toString();

        const std::vector<std::pair<std::string, std::string>> strings {
            { "CompanyName", product_facts::makerName },
            { "FileDescription", product_facts::productName },
            { "FileVersion", versionText },
            { "ProductName", product_facts::productName },
            { "ProductVersion", versionText },
        };

        std::vector<Bytes> stringNodes;

        for (auto& [key, text] : strings)
            stringNodes.push_back (makeString (key, text));

        auto stringTable = makeNode ("040904B0", textValue, {}, 0, stringNodes);
        auto stringFileInfo = makeNode ("StringFileInfo", textValue, {}, 0, { stringTable });

        Bytes translation;
        ByteWriter (translation).u16 (languageEnUs);
        ByteWriter (translation).u16 (codePageUnicode);

        // For binary values wValueLength counts bytes.
        auto var = makeNode ("Translation", binaryValue, translation, static_cast<uint16_t> (translation.size()), {});
        auto varFileInfo = makeNode ("VarFileInfo", textValue, {}, 0, { var });

        auto fixedInfo = makeFixedFileInfo (version);
        return makeNode ("VS_VERSION_INFO", binaryValue, fixedInfo, static_cast<uint16_t> (fixedInfo.size()),
                         { stringFileInfo, varFileInfo });
    }

} // namespace kv::payload
