// The JPEG encoder: what it writes decodes to the picture it was given.
#include "report/JpegWriter.h"

#include "JpegDecode.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(JpegWriter, EncodesAPictureThatDecodesToItsSizeAndColours) {
    // A white picture with a red block on its left half and a thin blue line; rows padded to a
    // stride wider than the pixels, as picture rows often are.
    const int width = 41, height = 30;
    const std::size_t stride = width * 3 + 5;
    std::vector<unsigned char> rgb(stride * height, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[y * stride + x * 3];
            if (x < 16) p[0] = 255, p[1] = 0, p[2] = 0;
            if (y == 20 && x >= 24) p[0] = 0, p[1] = 0, p[2] = 255;
        }
    const JpegResult result = EncodeJpeg(rgb.data(), width, height, stride, 100);
    ASSERT_TRUE(result.ok) << result.message;
    const DecodedJpeg decoded = DecodeJpeg(result.bytes);
    ASSERT_EQ(decoded.Width, width);
    ASSERT_EQ(decoded.Height, height);
    auto near = [](const unsigned char* p, int r, int g, int b) {
        return std::abs(p[0] - r) < 12 && std::abs(p[1] - g) < 12 && std::abs(p[2] - b) < 12;
    };
    EXPECT_TRUE(near(decoded.Pixel(4, 4), 255, 0, 0));
    EXPECT_TRUE(near(decoded.Pixel(35, 5), 255, 255, 255));
    // Full-resolution colour keeps a one-pixel coloured line coloured.
    EXPECT_TRUE(near(decoded.Pixel(32, 20), 0, 0, 255));
}

TEST(JpegWriter, RefusesAnEmptyOrShortPicture) {
    unsigned char pixel[3] = {0, 0, 0};
    EXPECT_FALSE(EncodeJpeg(nullptr, 1, 1, 3).ok);
    EXPECT_FALSE(EncodeJpeg(pixel, 0, 1, 3).ok);
    EXPECT_FALSE(EncodeJpeg(pixel, 2, 1, 3).ok);  // a row shorter than its pixels
    EXPECT_TRUE(EncodeJpeg(pixel, 1, 1, 3).ok);
}
