#include "RecordTransform.h"

std::string TransformRecord(std::string_view record, const CodePage& codePage) {
    // No byte ever grows, so the record's length bounds the result.
    std::string result(record.size(), '\0');
    CharacterState state;
    char* out = result.data();
    for (char octet : record)
        out = TransformByte(static_cast<unsigned char>(octet), state, codePage, out);
    result.resize(static_cast<std::size_t>(out - result.data()));
    return result;
}
