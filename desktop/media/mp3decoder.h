#pragma once

#include <QByteArray>

#include <cstddef>
#include <memory>

struct mpg123_handle_struct;

// An mp3 file decoded, a piece at a time, to signed 16-bit samples in the machine's byte order, scaled by
// a linear volume.
class Mp3Decoder
{
public:
    // `file` is the file's name in the file system's encoding.
    Mp3Decoder(const QByteArray &file, double volume);

    // False when the file cannot be read or holds no mp3 sound.
    bool isOpen() const { return m_rate > 0; }
    int rate() const { return m_rate; }
    int channels() const { return m_channels; }

    // Fills `data` with up to `size` bytes of whole sample frames and returns how many it filled: 0 once
    // the sound has ended or cannot be decoded further.
    std::size_t read(void *data, std::size_t size);

private:
    std::unique_ptr<mpg123_handle_struct, void (*)(mpg123_handle_struct *)> m_handle;
    int m_rate = 0;
    int m_channels = 0;
};
