#pragma once

#include <QByteArray>
#include <QIODevice>

#include <cstring>

namespace molvik::test {

// Hands the reader at most `piece` bytes per read, so its refilling and its
// carrying of a line across reads are exercised; with 1, no line is ever
// whole in its buffer before its end arrives. Opened on construction.
class TrickleDevice : public QIODevice
{
public:
    TrickleDevice(const QByteArray &bytes, qint64 piece) : m_bytes(bytes), m_piece(piece) { open(ReadOnly | Unbuffered); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = qMin(qMin(maxSize, m_piece), qint64(m_bytes.size()) - m_handedOver);
        std::memcpy(data, m_bytes.constData() + m_handedOver, std::size_t(n));
        m_handedOver += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }
    bool isSequential() const override { return true; }

private:
    const QByteArray &m_bytes;
    qint64 m_piece;
    qint64 m_handedOver = 0;
};

} // namespace molvik::test
