#include "conversion/TrackParser.h"

#include "conversion/MetaEvents.h"

namespace korvana {

bool TrackCursor::NextEvent(MidiEvent& event) {
    const std::uint8_t* p = m_p;
    if (p >= m_chunkEnd)
        return false;
    std::uint32_t delta;
    if (!ReadQuantity(p, m_fileEnd, delta) || p >= m_fileEnd)
        return End();
    m_nTime += delta;
    if (*p & 0x80)
        m_byRunning = *p++;
    const std::uint8_t status = m_byRunning;
    // Nothing of a cut event reaches the caller's event: the fields are written once it is whole.
    switch (status >> 4) {
        case 0x8:
        case 0x9:
        case 0xA:
        case 0xB:
        case 0xE:
            if (m_fileEnd - p < 2)
                return End();
            event.dwLength = 2;
            event.byData[0] = p[0];
            event.byData[1] = p[1];
            event.pData = nullptr;
            p += 2;
            break;
        case 0xC:
        case 0xD:
            if (p >= m_fileEnd)
                return End();
            event.dwLength = 1;
            event.byData[0] = p[0];
            event.byData[1] = 0;
            event.pData = nullptr;
            p += 1;
            break;
        case 0xF: {
            if (status == 0xF0 || status == 0xF7) {
                // Everything up to and including the first 0xF7, as it stands in the file.
                const void* last = std::memchr(p, 0xF7, static_cast<std::size_t>(m_fileEnd - p));
                if (!last)
                    return End();
                const auto count =
                    static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(last) - p + 1);
                TakeBytes(event, p, count);
                p += count;
                break;
            }
            std::uint8_t type = 0;
            if (status == meta::kStatus) {
                if (p >= m_fileEnd)
                    return End();
                type = *p++;
            }
            std::uint32_t count;
            if (!ReadQuantity(p, m_fileEnd, count) ||
                count > static_cast<std::uint64_t>(m_fileEnd - p))
                return End();
            if (status == meta::kStatus) {
                // The type, then the bytes: one data byte more than the bytes.
                event.dwLength = count + 1;
                event.byData[0] = type;
                std::memcpy(event.byData + 1, p,
                            std::min<std::size_t>(count, sizeof(event.byData) - 1));
                event.pData = event.dwLength > sizeof(event.byData) ? p : nullptr;
            } else {
                TakeBytes(event, p, count);
            }
            p += count;
            break;
        }
        default:  // a data byte with no status before it
            return End();
    }
    event.dwTime = m_nTime;
    event.byStatus = status;
    m_p = p;
    return true;
}

}  // namespace korvana
