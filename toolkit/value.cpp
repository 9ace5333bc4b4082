// Value records, the parameter frame, number formatting, the value stacks and memory areas.
#include "toolkit/value.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// A double has at most 1074 fractional digits; more places would only add zeros.
constexpr int kMaxDecimalPlaces = 1074;

// Runtime state of values and procedures. Written and read by the program thread only.
struct ValueState {
    std::vector<Value> frame = std::vector<Value>(1);  // entry 0: last result; 1..: parameters
    int paramCount = 0;
    int numberWidth = 0;
    int decimalPlaces = 6;
    std::vector<std::int64_t> intStack;
    std::vector<Text> textStack;
};

ValueState& State() {
    static ValueState state;
    return state;
}

const Value* FrameEntry(int i) {
    const std::vector<Value>& frame = State().frame;
    if (i < 0 || static_cast<std::size_t>(i) >= frame.size()) return nullptr;
    return &frame[static_cast<std::size_t>(i)];
}

// Fixed-point text of a real, rounded in the last place from the exact binary value. The point
// is a full stop: the program never leaves the C locale it starts in. (std::to_chars would do the
// same, but its fixed-precision tables add a quarter of a megabyte to the program's image.)
Text FixedPointText(double real, int places) {
    std::vector<char> buffer(330 + static_cast<std::size_t>(places));
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.*f", places, real);
    return length > 0 ? Text(buffer.data(), static_cast<std::size_t>(length)) : Text();
}

}  // namespace

Value Value::FromInt(std::int32_t n) {
    Value v;
    v.kind = ValueKind::Integer;
    v.text = IntToText(n);
    v.real = n;
    v.integer = n;
    return v;
}

Value Value::FromText(const Text& t) {
    Value v;
    v.kind = ValueKind::String;
    v.text = t;
    v.real = 0.0;
    v.integer = 0;
    return v;
}

void EnterProcedure(int count, const Value* const* args) {
    if (count <= 0) return;
    ValueState& state = State();
    state.paramCount = count;
    const std::size_t needed = static_cast<std::size_t>(count) + 1;
    if (state.frame.size() < needed) state.frame.resize(needed);
    for (int i = 0; i < count; ++i) state.frame[static_cast<std::size_t>(i) + 1] = *args[i];
}

int ParamCount() {
    return State().paramCount;
}

std::int32_t ParamInt(int i) {
    const Value* entry = FrameEntry(i);
    return entry ? entry->integer : 0;
}

Text ParamText(int i) {
    const Value* entry = FrameEntry(i);
    return entry ? entry->text : Text();
}

void ReturnValue(Value* result, std::int32_t n) {
    *result = Value::FromInt(n);
    State().frame[0] = *result;
}

void ReturnValue(Value* result, const Text& t) {
    *result = Value::FromText(t);
    State().frame[0] = *result;
}

void ReturnNothing(Value* result) {
    *result = Value();
}

const Value& LastResult() {
    return State().frame[0];
}

Text ValueToText(const Value& v) {
    if (v.kind == ValueKind::Integer) return IntToText(v.integer);
    const Text digits = FixedPointText(v.real, State().decimalPlaces);
    return SpaceText(NumberWidth() - static_cast<std::int64_t>(digits.size())) + digits;
}

void SetNumberWidth(int width) {
    State().numberWidth = width;
}

int NumberWidth() {
    return State().numberWidth;
}

void SetDecimalPlaces(int places) {
    State().decimalPlaces = std::clamp(places, 0, kMaxDecimalPlaces);
}

void PushInt(std::int64_t n) {
    State().intStack.push_back(n);
}

void PopInt(std::int64_t& destination) {
    std::vector<std::int64_t>& stack = State().intStack;
    if (stack.empty()) return;
    destination = stack.back();
    stack.pop_back();
}

void PushText(const Text& t) {
    State().textStack.push_back(t);
}

void PopText(Text& destination) {
    std::vector<Text>& stack = State().textStack;
    if (stack.empty()) return;
    destination = std::move(stack.back());
    stack.pop_back();
}

void AllocateArea(MemoryArea& area, std::size_t size) {
    // A fresh vector, swapped in, releases the old block instead of keeping its capacity.
    std::vector<char>(size, '\0').swap(area.bytes);
}

void FreeArea(MemoryArea& area) {
    std::vector<char>().swap(area.bytes);
}

Text AreaText(const MemoryArea& area, std::size_t offset) {
    if (offset >= area.size()) return Text();
    const char* begin = area.data() + offset;
    const std::size_t available = area.size() - offset;
    const void* nul = std::memchr(begin, '\0', available);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - begin) : available;
    return Text(begin, length);
}

std::int32_t SetBit(std::int32_t n, int bit, bool flag) {
    const std::uint32_t mask = 1u << (static_cast<unsigned>(bit) % 32u);
    const std::uint32_t bits = static_cast<std::uint32_t>(n);
    return static_cast<std::int32_t>(flag ? bits | mask : bits & ~mask);
}
