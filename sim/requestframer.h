#pragma once

#include "transceiver.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Cuts the bytes from the tool into requests. Anything that is not a whole
// read, write or activate frame is dropped, and the framer picks up again at
// the next 0xF0.
class RequestFramer
{
public:
    struct Result {
        std::vector<Request> requests;
        std::vector<Bytes> dropped;
    };

    void feed(const std::uint8_t *data, std::size_t size, Result &out);
    // A frame left unfinished for a while is abandoned.
    void abandonPartial(Result &out);
    bool hasPartial() const { return !m_buffer.empty(); }

private:
    void dropUntilNextStart(std::size_t from, Result &out);

    Bytes m_buffer;
};
