// Decoding a JPEG file's bytes with libjpeg, to check what the encoder wrote.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

struct DecodedJpeg {
    int Width = 0;
    int Height = 0;
    std::vector<unsigned char> Rgb;  // rows of R, G, B
    const unsigned char* Pixel(int x, int y) const { return &Rgb[(std::size_t(y) * Width + x) * 3]; }
};

inline DecodedJpeg DecodeJpeg(const std::string& bytes) {
    DecodedJpeg out;
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return out;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.Width = static_cast<int>(info.output_width);
    out.Height = static_cast<int>(info.output_height);
    out.Rgb.resize(std::size_t(out.Width) * out.Height * 3);
    while (info.output_scanline < info.output_height) {
        unsigned char* row = &out.Rgb[std::size_t(info.output_scanline) * out.Width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}
