// Action recognition: the word at the start of the action field and its parameter.
#include "FuzzInput.h"
#include "scheduler/Action.h"
#include "table/InstructionLine.h"

using namespace campanor;
using namespace campanor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString line = QString::fromUtf8(bytesOf(data, size));
    const QString field = actionFieldOf(line);
    const Action action = recognizeAction(field);
    if (action.kind == ActionKind::Ring) {
        require(action.parameter == field, "a ring lost part of its path");
        return 0;
    }
    const QString word = actionWord(action.kind);
    require(!word.isEmpty() && field.startsWith(word), "recognised a word that is not there");
    require(action.parameter.size() <= kMaxParameterLength, "parameter not cut");
    require(field.mid(word.size()).startsWith(action.parameter), "parameter is not the rest");
    return 0;
}
