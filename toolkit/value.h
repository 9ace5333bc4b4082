// Value records, the shared parameter frame, the two value stacks, memory areas,
// number formatting state and bit helpers. Portable; program thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/text.h"

enum class ValueKind : int { Integer = 1, String = 3 };

// How procedures receive parameters and return results.
struct Value {
    ValueKind kind = ValueKind::Integer;
    Text text = "0";
    double real = 0.0;
    std::int32_t integer = 0;

    static Value FromInt(std::int32_t n);
    static Value FromText(const Text& t);
};

// A procedure stores its arguments in the frame on entry and reads them from there.
void EnterProcedure(int count, const Value* const* args);
int ParamCount();
std::int32_t ParamInt(int i);           // entries beyond the frame read as 0 / empty
Text ParamText(int i);
void ReturnValue(Value* result, std::int32_t n);
void ReturnValue(Value* result, const Text& t);
void ReturnNothing(Value* result);      // kind 1, text "0", real 0, integer 0
const Value& LastResult();               // entry 0 of the frame

Text ValueToText(const Value& v);

// Formatting state: numbers are padded with spaces to this width; reals get this many places.
void SetNumberWidth(int width);
int NumberWidth();
void SetDecimalPlaces(int places);

// Last-in-first-out stacks of integers and texts; popping an empty stack changes nothing.
void PushInt(std::int64_t n);
void PopInt(std::int64_t& destination);
void PushText(const Text& t);
void PopText(Text& destination);

// A zero-filled block of bytes with its size recorded; file reads fill areas.
struct MemoryArea {
    std::vector<char> bytes;
    std::size_t size() const { return bytes.size(); }
    char* data() { return bytes.data(); }
    const char* data() const { return bytes.data(); }
};
void AllocateArea(MemoryArea& area, std::size_t size);   // frees what it held before
void FreeArea(MemoryArea& area);
Text AreaText(const MemoryArea& area, std::size_t offset);  // bytes up to the first NUL

std::int32_t SetBit(std::int32_t n, int bit, bool flag);
