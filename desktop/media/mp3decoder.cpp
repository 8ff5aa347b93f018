#include "desktop/media/mp3decoder.h"

#include <mpg123.h>

Mp3Decoder::Mp3Decoder(const QByteArray &file, double volume)
    : m_handle(mpg123_new(nullptr, nullptr), mpg123_delete)
{
    if (!m_handle)
        return;
    // The player says nothing of its own about a file it cannot play, nor about a damaged one.
    mpg123_param(m_handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_volume(m_handle.get(), volume);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_open_fixed(m_handle.get(), file.constData(), MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16)
            != MPG123_OK
        || mpg123_getformat(m_handle.get(), &rate, &channels, &encoding) != MPG123_OK)
        return;
    m_rate = int(rate);
    m_channels = channels;
}

std::size_t Mp3Decoder::read(void *data, std::size_t size)
{
    if (!isOpen())
        return 0;
    const std::size_t frame = std::size_t(2 * m_channels);
    std::size_t done = 0;
    const int result = mpg123_read(m_handle.get(), data, size - size % frame, &done);
    // A change of format halfway through is not followed: the sound ends there.
    return result == MPG123_OK || result == MPG123_DONE ? done : 0;
}
