#include "requestframer.h"

#include <algorithm>

namespace {

struct FrameShape {
    std::uint8_t kind;
    std::size_t length;
    RequestKind request;
};

constexpr FrameShape kShapes[] = {
        {0xCC, 3, RequestKind::Read},
        {0x33, 3, RequestKind::Activate},
        {0xAA, 12, RequestKind::Write},
};

} // namespace

void RequestFramer::dropUntilNextStart(std::size_t from, Result &out)
{
    const auto next = std::find(m_buffer.begin() + static_cast<std::ptrdiff_t>(from),
                                m_buffer.end(), kStart);
    out.dropped.emplace_back(m_buffer.begin(), next);
    m_buffer.erase(m_buffer.begin(), next);
}

void RequestFramer::feed(const std::uint8_t *data, std::size_t size, Result &out)
{
    m_buffer.insert(m_buffer.end(), data, data + size);
    while (!m_buffer.empty()) {
        if (m_buffer[0] != kStart) {
            dropUntilNextStart(0, out);
            continue;
        }
        if (m_buffer.size() < 2)
            return;
        const FrameShape *shape = nullptr;
        for (const FrameShape &s : kShapes) {
            if (s.kind == m_buffer[1])
                shape = &s;
        }
        if (!shape) {
            dropUntilNextStart(1, out);
            continue;
        }
        if (m_buffer.size() < shape->length)
            return;
        if (m_buffer[shape->length - 1] != kEnd) {
            dropUntilNextStart(1, out);
            continue;
        }
        out.requests.push_back({shape->request, Bytes(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(shape->length))});
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(shape->length));
    }
}

void RequestFramer::abandonPartial(Result &out)
{
    if (!m_buffer.empty())
        out.dropped.push_back(m_buffer);
    m_buffer.clear();
}
