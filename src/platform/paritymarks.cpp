#include "platform/paritymarks.h"

namespace {

constexpr char kMark = '\xFF';
constexpr char kErrorFlag = '\x00';
constexpr char kDamagedByte = '?';

} // namespace

QByteArray unescapeParityMarks(const QByteArray &chunk, QByteArray &carry)
{
    const QByteArray in = carry + chunk;
    carry.clear();

    QByteArray out;
    out.reserve(in.size());
    qsizetype i = 0;
    while (i < in.size()) {
        const char c = in.at(i);
        if (c != kMark) {
            out.append(c);
            ++i;
            continue;
        }
        const qsizetype left = in.size() - i;
        if (left == 1 || (left == 2 && in.at(i + 1) == kErrorFlag)) {
            carry = in.mid(i);
            break;
        }
        const char next = in.at(i + 1);
        if (next == kMark) {
            out.append(kMark);
            i += 2;
        } else if (next == kErrorFlag) {
            out.append(kDamagedByte);
            i += 3;
        } else {
            // The driver never sends this; pass the FF through rather than
            // lose a byte.
            out.append(kMark);
            ++i;
        }
    }
    return out;
}
