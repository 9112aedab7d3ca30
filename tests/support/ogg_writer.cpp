// Ogg Vorbis through libvorbisenc's variable bit-rate mode, and a minimal WAV writer.
#include "tests/support/ogg_writer.h"

#include <cmath>
#include <vorbis/vorbisenc.h>

namespace {
void appendPage(const ogg_page& page, std::vector<uint8_t>* out) {
    out->insert(out->end(), page.header, page.header + page.header_len);
    out->insert(out->end(), page.body, page.body + page.body_len);
}

void appendLittleEndian(uint32_t value, int bytes, std::vector<uint8_t>* out) {
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// Moves every finished packet of the encoder into pages, and pages into out.
void drain(vorbis_dsp_state* dsp, vorbis_block* block, ogg_stream_state* stream, std::vector<uint8_t>* out) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(dsp, block) == 1) {
        vorbis_analysis(block, nullptr);
        vorbis_bitrate_addblock(block);
        while (vorbis_bitrate_flushpacket(dsp, &packet) == 1) {
            ogg_stream_packetin(stream, &packet);
            while (ogg_stream_pageout(stream, &page) != 0) {
                appendPage(page, out);
            }
        }
    }
}
} // namespace

std::vector<uint8_t> encodeOggVorbis(const std::vector<int16_t>& samples, int rate) {
    std::vector<uint8_t> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, rate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage(page, &out);
    }

    const size_t chunk = 1024;
    for (size_t start = 0; start < samples.size(); start += chunk) {
        const size_t count = std::min(chunk, samples.size() - start);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (size_t i = 0; i < count; ++i) {
            buffer[0][i] = samples[start + i] / 32768.0f;
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drain(&dsp, &block, &stream, &out);
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain(&dsp, &block, &stream, &out);
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage(page, &out);
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int rate) {
    std::vector<uint8_t> out;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    appendLittleEndian(36 + dataBytes, 4, &out);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    appendLittleEndian(16, 4, &out);                              // format chunk length
    appendLittleEndian(1, 2, &out);                               // PCM
    appendLittleEndian(1, 2, &out);                               // mono
    appendLittleEndian(static_cast<uint32_t>(rate), 4, &out);     // sample rate
    appendLittleEndian(static_cast<uint32_t>(rate) * 2, 4, &out); // bytes per second
    appendLittleEndian(2, 2, &out);                               // bytes per frame
    appendLittleEndian(16, 2, &out);                              // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    appendLittleEndian(dataBytes, 4, &out);
    for (int16_t sample : samples) {
        appendLittleEndian(static_cast<uint16_t>(sample), 2, &out);
    }
    return out;
}

std::vector<int16_t> sineTone(double frequency, double amplitude, double seconds, int rate) {
    const size_t count = static_cast<size_t>(seconds * rate);
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<int16_t>(
            std::lround(32767.0 * amplitude *
                        std::sin(2.0 * 3.14159265358979 * frequency * static_cast<double>(i) / rate)));
    }
    return samples;
}
