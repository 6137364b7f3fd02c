#include "PowerNotice.h"

namespace campanor {

PowerNotice& PowerNotice::instance() {
    static PowerNotice notice;
    return notice;
}

} // namespace campanor
