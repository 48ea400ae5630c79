#include "support/GLTest.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageAtlasPiece.h"
#include "graphics/ImageSurface.h"
#include "platform/headless/ManualClock.h"

#include <memory>
#include <optional>

namespace {

constexpr std::uint64_t kPastIdle = D3DInterface::kIdleImageMs + 1000;

// Every pixel differs, with opaque, half and clear alpha, so a texture
// made again from other pixels or in another order would show.
ImageData Pattern(int width, int height)
{
    ImageData data{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t alpha = (x + y) % 3 == 0 ? 0xFFu : (x + y) % 3 == 1 ? 0x80u : 0u;
            data.pixels[static_cast<std::size_t>(y) * width + x] =
                (alpha << 24) | (static_cast<std::uint32_t>(x * 20) << 16) |
                (static_cast<std::uint32_t>(y * 30) << 8) | 0x40u;
        }
    }
    return data;
}

// Images whose file could give them again, under a clock the test moves;
// each test's clock starts past the last one's, as the renderer is shared.
class IdleImagesTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        s_start += 1000000;
        m_clock.emplace(s_start);
        m_scoped.emplace(*m_clock);
    }
    void TearDown() override
    {
        m_scoped.reset();
        m_clock.reset();
    }

    std::unique_ptr<Image> FromFile(int width, int height)
    {
        auto image = std::make_unique<Image>(Pattern(width, height));
        image->SetReloader([this, width, height](ImageData& pixels) {
            ++m_decodes;
            pixels = Pattern(width, height);
            return true;
        });
        return image;
    }
    // A frame that draws the whole screen with what the function draws.
    template <typename Draw> void WholeFrame(Draw draw)
    {
        Screen()->Clear();
        Graphics g(Screen());
        draw(g);
        Renderer()->Present();
    }
    std::vector<std::uint32_t> Drawn(const Rect& area) { return m_context->ReadPixels(Screen(), area); }
    // Time passes and the loop looks for idle images.
    int PassTime(std::uint64_t ms)
    {
        m_clock->Advance(ms);
        return Renderer()->ReleaseIdleImages();
    }

    static inline std::uint64_t s_start = 0;
    std::optional<ManualClock> m_clock;
    std::optional<ScopedClock> m_scoped;
    int m_decodes = 0;
};

TEST_F(IdleImagesTest, AnImageGivenBackDrawsTheSamePixelsWhenItIsDrawnAgain)
{
    auto image = FromFile(12, 9);
    WholeFrame([&](Graphics& g) { g.DrawImage(image.get(), 40, 30); });
    const std::vector<std::uint32_t> before = Drawn(Rect{40, 30, 12, 9});
    ASSERT_NE(0u, before.front());
    ASSERT_NE(0u, image->GetTexture());

    // Another screen, for long enough.
    WholeFrame([](Graphics&) {});
    EXPECT_EQ(1, PassTime(kPastIdle));
    EXPECT_EQ(0u, image->GetTexture());
    EXPECT_TRUE(image->ArePixelsReleased());
    EXPECT_TRUE(image->HasData());
    EXPECT_EQ(12, image->GetWidth());

    WholeFrame([&](Graphics& g) { g.DrawImage(image.get(), 40, 30); });
    EXPECT_EQ(1, m_decodes);
    EXPECT_EQ(before, Drawn(Rect{40, 30, 12, 9}));
    EXPECT_TRUE(image->ArePixelsReleased()) << "the texture holds them again";

    // Read before it is drawn again: the pixels come back right as well.
    WholeFrame([](Graphics&) {});
    ASSERT_EQ(1, PassTime(kPastIdle));
    EXPECT_EQ(Pattern(12, 9).At(5, 4), image->GetPixel(5, 4));
}

TEST_F(IdleImagesTest, WhatTheScreenShowsOrSomeoneHoldsStays)
{
    auto shown = FromFile(4, 4);
    auto held = FromFile(4, 4);
    auto read = FromFile(4, 4);
    Image madeInCode(Pattern(4, 4));
    WholeFrame([&](Graphics& g) {
        for (Image* image : {shown.get(), held.get(), read.get(), &madeInCode})
            g.DrawImage(image, 0, 0);
    });
    const ImageData& holding = held->GetData();
    EXPECT_EQ(4, holding.width);

    // A still screen: what its last whole frame drew is on it, however long ago.
    EXPECT_EQ(0, PassTime(kPastIdle));
    // Part of the screen drawn again, with something new on it.
    auto added = FromFile(4, 4);
    {
        Graphics g(Screen());
        g.DrawImage(added.get(), 0, 0);
        const std::vector<Rect> part{Rect{0, 0, 4, 4}};
        Renderer()->Present(false, &part);
    }
    EXPECT_EQ(0, PassTime(kPastIdle));
    EXPECT_NE(0u, added->GetTexture());

    // The next screen draws none of them; a hit test reads one now and then.
    WholeFrame([](Graphics&) {});
    EXPECT_EQ(Pattern(4, 4).At(1, 1), read->GetPixel(1, 1));
    m_clock->Advance(D3DInterface::kIdleImageMs - 500);
    EXPECT_EQ(Pattern(4, 4).At(2, 1), read->GetPixel(2, 1));
    EXPECT_EQ(2, PassTime(1000));
    EXPECT_EQ(0u, shown->GetTexture());
    EXPECT_EQ(0u, added->GetTexture());
    EXPECT_NE(0u, read->GetTexture());
    EXPECT_FALSE(read->ArePixelsReleased());
    EXPECT_NE(0u, held->GetTexture()) << "someone holds its pixels";
    EXPECT_NE(0u, madeInCode.GetTexture()) << "no file can give its pixels";
    EXPECT_EQ(1, PassTime(kPastIdle));
    EXPECT_EQ(0u, read->GetTexture());
    EXPECT_TRUE(read->ArePixelsReleased());
    // The held image and the one read each decoded their pixels once.
    EXPECT_EQ(2, m_decodes);
}

TEST_F(IdleImagesTest, AtlasPiecesKeepTheirAtlasAndDrawFromItOnceItCameBack)
{
    auto atlas = FromFile(16, 8);
    ImageAtlasPiece piece(atlas.get(), {Rect{8, 0, 8, 8}});
    WholeFrame([&](Graphics& g) { g.DrawImage(&piece, 100, 100); });
    const std::vector<std::uint32_t> before = Drawn(Rect{100, 100, 8, 8});
    // Drawn by its piece in every whole frame: the atlas stays.
    WholeFrame([&](Graphics& g) { g.DrawImage(&piece, 100, 100); });
    EXPECT_EQ(0, PassTime(kPastIdle));
    EXPECT_NE(0u, atlas->GetTexture());

    WholeFrame([](Graphics&) {});
    EXPECT_EQ(1, PassTime(kPastIdle));
    EXPECT_EQ(0u, atlas->GetTexture());
    WholeFrame([&](Graphics& g) { g.DrawImage(&piece, 100, 100); });
    EXPECT_EQ(before, Drawn(Rect{100, 100, 8, 8}));
    EXPECT_EQ(1, m_decodes);
}

TEST_F(IdleImagesTest, PixelsDecodedButNeverDrawnGoAfterAWhile)
{
    auto image = FromFile(6, 6);
    EXPECT_EQ(0, PassTime(D3DInterface::kIdleImageMs - 100))
        << "just loaded: a screen may be about to draw it";
    EXPECT_FALSE(image->ArePixelsReleased());
    EXPECT_EQ(1, PassTime(kPastIdle));
    EXPECT_TRUE(image->ArePixelsReleased());
    EXPECT_EQ(0, PassTime(kPastIdle)) << "nothing more to let go";

    WholeFrame([&](Graphics& g) { g.DrawImage(image.get(), 0, 0); });
    EXPECT_EQ(1, m_decodes);
    Image reference(Pattern(6, 6));
    const std::vector<std::uint32_t> drawn = Drawn(Rect{0, 0, 6, 6});
    WholeFrame([&](Graphics& g) { g.DrawImage(&reference, 0, 0); });
    EXPECT_EQ(Drawn(Rect{0, 0, 6, 6}), drawn);
}

} // namespace
