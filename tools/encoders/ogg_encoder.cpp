// Ogg Vorbis encoding through libvorbisenc, pages appended to a byte vector.
#include "tools/encoders/ogg_encoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {
void appendPage(const ogg_page& page, std::vector<uint8_t>& out) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

bool channelsFit(const std::vector<std::vector<float>>& channels) {
    if (channels.empty() || channels.size() > 2) {
        return false;
    }
    return channels.size() == 1 || channels[0].size() == channels[1].size();
}
} // namespace

bool encodeOggVorbis(const std::vector<std::vector<float>>& channels, int rate, float quality, int serial,
                     std::vector<uint8_t>& out) {
    out.clear();
    if (!channelsFit(channels)) {
        return false;
    }
    const int channelCount = static_cast<int>(channels.size());
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channelCount, rate, quality) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    ogg_packet header, commentHeader, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    // The headers get pages of their own, so the audio starts on a fresh page.
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage(page, out);
    }

    const size_t total = channels[0].size();
    const size_t chunk = 1024;
    size_t position = 0;
    bool endOfStream = false;
    bool inputClosed = false;
    while (!endOfStream && !inputClosed) {
        if (position < total) {
            const size_t count = std::min(chunk, total - position);
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (int c = 0; c < channelCount; ++c) {
                std::copy(channels[c].begin() + position, channels[c].begin() + position + count, buffer[c]);
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            position += count;
        } else {
            vorbis_analysis_wrote(&dsp, 0);
            inputClosed = true;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (!endOfStream && ogg_stream_pageout(&stream, &page) != 0) {
                    appendPage(page, out);
                    endOfStream = ogg_page_eos(&page) != 0;
                }
            }
        }
    }

    while (!endOfStream && ogg_stream_flush(&stream, &page) != 0) {
        appendPage(page, out);
        endOfStream = ogg_page_eos(&page) != 0;
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return true;
}
