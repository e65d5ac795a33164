#include "TextConverter.h"

std::size_t TextConverter::Finish(char* out) {
    // A CR at the very end folds into the line end that closes the last record.
    m_state.pendingCr = false;
    if (!m_state.inRecord) return 0;
    m_state.inRecord = false;
    m_state.character = CharacterState{};
    out[0] = '\r';
    out[1] = '\n';
    return 2;
}
