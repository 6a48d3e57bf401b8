// Writing 16-bit frames to image files (PNG or binary PPM) for people and tests.
#pragma once
#include "engine/types.h"

#include <string>
#include <vector>

std::vector<u8> frame_to_rgb(const u16* pixels, s32 w, s32 h, bool is565);
void png_write_rgb(const std::string& path, const u8* rgb, s32 w, s32 h);
void ppm_write_rgb(const std::string& path, const u8* rgb, s32 w, s32 h);
// ".png" writes PNG, anything else PPM.
void frame_write(const std::string& path, const u16* pixels, s32 w, s32 h, bool is565);
