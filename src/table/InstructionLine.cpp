#include "InstructionLine.h"

namespace campanor {

std::optional<Instruction> Instruction::parse(const QString& line) {
    const qsizetype star = line.indexOf(u'*');
    const qsizetype gt = line.indexOf(u'>');
    const qsizetype lt = line.indexOf(u'<');
    if (star < 0 || gt < star || lt < gt)
        return std::nullopt;
    return Instruction{line.left(star), line.mid(star + 1, gt - star - 1),
                       line.mid(gt + 1, lt - gt - 1), line.mid(lt + 1)};
}

QString Instruction::line() const {
    return time + u'*' + (comment.isEmpty() ? kNoComment : comment) + u'>' + dayRule + u'<' +
           action;
}

QString actionFieldOf(const QString& line) {
    const qsizetype lt = line.indexOf(u'<');
    return lt < 0 ? QString() : line.mid(lt + 1);
}

} // namespace campanor
