#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv::payload
{
    using Bytes = std::vector<uint8_t>;

    /** Appends little-endian fields to a byte vector: ZIP, PE, ICO and BMP are all little-endian. */
    class ByteWriter final
    {
    public:
        explicit ByteWriter (Bytes& target)
            : out (target)
        {
        }

        void u8 (uint32_t value) { out.push_back (static_cast<uint8_t> (value)); }
        void u16 (uint32_t value)
        {
            u8 (value);
            u8 (value >> 8);
        }
        void u32 (uint32_t value)
        {
            u16 (value);
            u16 (value >> 16);
        }
        void u64 (uint64_t value)
        {
            u32 (static_cast<uint32_t> (value));
            u32 (static_cast<uint32_t> (value >> 32));
        }

        void bytes (const void* data, size_t size)
        {
            auto* first = static_cast<const uint8_t*> (data);
            out.insert (out.end(), first, first + size);
        }

        void bytes (const Bytes& data) { out.insert (out.end(), data.begin(), data.end()); }
        void text (const std::string& s) { out.insert (out.end(), s.begin(), s.end()); }
        void zeros (size_t count) { out.insert (out.end(), count, uint8_t { 0 }); }

        /** ASCII only, which is all our resources hold; the terminating null is written too. */
        void utf16z (const std::string& ascii)
        {
            for (auto c : ascii)
                u16 (static_cast<uint8_t> (c));

            u16 (0);
        }

        void padTo (size_t alignment)
        {
            while (out.size() % alignment != 0)
                out.push_back (0);
        }

        size_t size() const noexcept { return out.size(); }

    private:
        Bytes& out;
    };

    inline void putU16 (Bytes& target, size_t offset, uint32_t value)
    {
        target[offset] = static_cast<uint8_t> (value);
        target[offset + 1] = static_cast<uint8_t> (value >> 8);
    }

    inline void putU32 (Bytes& target, size_t offset, uint32_t value)
    {
        putU16 (target, offset, value);
        putU16 (target, offset + 2, value >> 16);
    }

    constexpr uint64_t alignUp (uint64_t value, uint64_t alignment) noexcept
    {
        return (value + alignment - 1) / alignment * alignment;
    }

} // namespace kv::payload
