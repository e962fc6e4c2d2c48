// Why a reader refused its input. Where a reader of outside data (a file, a resource, a clipboard
// block, a script, typed text) refuses it, it notes a short sentence naming the check that fired
// beside the code it answers, so that a test, the headless log and a fuzz run can tell which check
// it was. Reasons are string literals: they are kept, never copied, so noting one never allocates.
#pragma once

namespace vlcore {

// Notes the reason of a refusal (null is ignored). Also written as a line "refused: REASON" to the
// stream alerts are echoed to (vlalert::SetEcho), when there is one.
void NoteRefusal(const char* reason);
// The last reason noted since ClearRefusal; "" when none was.
const char* LastRefusal();
void ClearRefusal();

// Notes the reason and answers the code, for `return Refuse(mapReadErr, "...")`.
template <typename Code>
Code Refuse(Code code, const char* reason) {
  NoteRefusal(reason);
  return code;
}

}  // namespace vlcore
