// Chained Ogg files made by tests: a copy of an Ogg Vorbis file as another logical stream (another
// serial number), optionally declaring another sample rate, so that files of several links can be put
// together by concatenation, as a chained stream is.
#pragma once

#include <cstdint>
#include <vector>

// The pages of ogg with every serial number set to serial and, when rate is not 0, the rate of the
// identification header set to rate; each page's checksum is computed anew, so that libogg reads the
// copy as an undamaged stream. Bytes that are not a whole page are copied as they are.
std::vector<uint8_t> relinkOgg(const std::vector<uint8_t>& ogg, uint32_t serial, uint32_t rate);
