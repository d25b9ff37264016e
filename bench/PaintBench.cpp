#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "main_screen/MainComponent.h"
#include "platform/PlatformFolders.h"

using namespace kv::install;

namespace
{
    // The main screen with all three formats installed at their default destinations.
    MainComponent& installedScreen()
    {
        static std::unique_ptr<MainComponent> screen = []
        {
            auto request = kv::bench::installEverythingInto ({});
            request.destinationFolders = { kv::platform::fileFromPath ("C:/Program Files/Common Files/VST3"),
                                           kv::platform::fileFromPath ("C:/Program Files/Common Files/CLAP"),
                                           kv::platform::fileFromPath ("C:/Program Files/Common Files/Avid/Audio/Plug-Ins") };
            runInstallPass (request);
            return std::make_unique<MainComponent>();
        }();

        return *screen;
    }

    void paintInto (MainComponent& screen, juce::Image& image, juce::Rectangle<int> clip)
    {
        juce::Graphics g (image);
        g.reduceClipRegion (clip);
        screen.paintEntireComponent (g, false);
    }
}

static void BM_Paint (benchmark::State& state)
{
    auto& screen = installedScreen();
    const auto size = (int) state.range (0);
    screen.setSize (size, size);
    juce::Image image (juce::Image::ARGB, size, size, true, juce::SoftwareImageType());

    for (auto _ : state)
        paintInto (screen, image, screen.getLocalBounds());

    screen.setSize (600, 600);
}

// A hover repaints only the tile's own area, but the whole paint runs clipped to it.
static void BM_PaintHoverTile (benchmark::State& state)
{
    auto& screen = installedScreen();
    juce::Image image (juce::Image::ARGB, 600, 600, true, juce::SoftwareImageType());
    const auto tile = screen.formatButtons[0]->getBounds();

    for (auto _ : state)
        paintInto (screen, image, tile);
}

// The status reads one paint makes, to tell their share of a paint.
static void BM_PaintStatusReads (benchmark::State& state)
{
    auto& screen = installedScreen();

    for (auto _ : state)
        for (int i = 0; i < numFormats; ++i)
            benchmark::DoNotOptimize (screen.statusOf (i));
}

BENCHMARK (BM_Paint)->Arg (600)->Arg (1200)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_PaintHoverTile)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_PaintStatusReads)->Unit (benchmark::kMicrosecond);
