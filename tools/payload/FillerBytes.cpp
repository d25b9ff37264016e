#include "tools/payload/FillerBytes.h"

#include <algorithm>

namespace kv::payload
{
    namespace
    {
        /** xorshift64*: tiny, fast and, with a fixed seed, the same on every platform. */
        class Xorshift64 final
        {
        public:
            explicit Xorshift64 (uint64_t seed)
                : state (seed != 0 ? seed : 0x9E3779B97F4A7C15ull)
            {
            }

            uint64_t next() noexcept
            {
                state ^= state >> 12;
                state ^= state << 25;
                state ^= state >> 27;
                return state * 0x2545F4914F6CDD1Dull;
            }

            uint32_t below (uint32_t limit) noexcept { return static_cast<uint32_t> (next() % limit); }

        private:
            uint64_t state;
        };

        // Share of the filler that is incompressible; tuned so deflate level 6 gives about 57%.
        constexpr uint32_t randomPerMille = 566;

        void appendRandom (Bytes& out, size_t count, Xorshift64& rng)
        {
            const auto start = out.size();
            out.resize (start + count);

            for (size_t i = 0; i < count; i += 8)
            {
                auto word = rng.next();
                auto n = std::min<size_t> (8, count - i);

                for (size_t b = 0; b < n; ++b)
                    out[start + i + b] = static_cast<uint8_t> (word >> (8 * b));
            }
        }

        void appendLowEntropy (Bytes& out, size_t count, Xorshift64& rng)
        {
            if (rng.below (3) == 0)
            {
                out.insert (out.end(), count, uint8_t { 0 });
                return;
            }

            // A short pattern repeated, like an alignment fill or a table of equal records.
            uint8_t pattern[16];
            const auto length = 1 + rng.below (16);

            for (uint32_t i = 0; i < length; ++i)
                pattern[i] = static_cast<uint8_t> (rng.next());

            for (size_t i = 0; i < count; ++i)
                out.push_back (pattern[i % length]);
        }
    }

    void appendFillerBytes (Bytes& out, size_t count, uint64_t seed)
    {
        Xorshift64 rng (seed);
        out.reserve (out.size() + count);

        while (count > 0)
        {
            // Runs of a few KiB, well inside deflate's 32 KiB window, so the ratio holds at any size.
            const size_t randomRun = 512 + rng.below (7 * 1024);
            const size_t lowRun = randomRun * (1000 - randomPerMille) / randomPerMille;

            auto n = std::min (count, randomRun);
            appendRandom (out, n, rng);
            count -= n;

            n = std::min (count, lowRun);
            appendLowEntropy (out, n, rng);
            count -= n;
        }
    }

} // namespace kv::payload
