// Value records, the parameter frame, number texts, the value stacks, memory areas and bits.
#include "toolkit/value.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

// Sets the number width and decimal places for one test and puts the defaults back.
struct NumberFormat {
    NumberFormat(int width, int places) {
        SetNumberWidth(width);
        SetDecimalPlaces(places);
    }
    ~NumberFormat() {
        SetNumberWidth(0);
        SetDecimalPlaces(6);
    }
};

Value Real(double r) {
    Value v = Value::FromText("");
    v.real = r;
    return v;
}

TEST(Value, NumbersArePaddedWithSpacesToTheNumberWidth) {
    {
        NumberFormat format(4, 6);
        EXPECT_EQ(IntToText(-7), "  -7");
        EXPECT_EQ(IntToText(123456), "123456") << "a number wider than the width is not cut";
        EXPECT_EQ(Value::FromInt(5).text, "   5");
        EXPECT_EQ(ValueToText(Real(1.5)), "1.500000") << "longer than the width: no padding";
    }
    NumberFormat format(10, 6);
    EXPECT_EQ(ValueToText(Real(1.5)), "  1.500000");
    EXPECT_EQ(ValueToText(Value::FromInt(-3)), "        -3");
}

TEST(Value, RealsBecomeFixedPointTextWithTheLastPlaceRounded) {
    NumberFormat format(0, 6);
    EXPECT_EQ(ValueToText(Real(1.5)), "1.500000");
    EXPECT_EQ(ValueToText(Real(0.25)), "0.250000");
    EXPECT_EQ(ValueToText(Real(-2.5)), "-2.500000");
    EXPECT_EQ(ValueToText(Real(1.9999999)), "2.000000");
    EXPECT_EQ(ValueToText(Real(0.0000004)), "0.000000");
    SetDecimalPlaces(2);
    EXPECT_EQ(ValueToText(Real(3.14159)), "3.14");
    EXPECT_EQ(ValueToText(Real(0.125)), "0.12") << "a tie in the exact value goes to the even digit";
    EXPECT_EQ(ValueToText(Real(1e21)), "1000000000000000000000.00");
    SetDecimalPlaces(0);
    EXPECT_EQ(ValueToText(Real(2.6)), "3") << "no decimal point without places";
}

TEST(Value, ProceduresReadParametersFromTheSharedFrame) {
    const Value first = Value::FromInt(5);
    const Value second = Value::FromText("row");
    const Value* args[] = {&first, &second};
    EnterProcedure(2, args);
    EXPECT_EQ(ParamCount(), 2);
    EXPECT_EQ(ParamInt(1), 5);
    EXPECT_EQ(ParamText(2), "row");

    EnterProcedure(0, nullptr);
    EXPECT_EQ(ParamCount(), 2) << "a call without arguments leaves the frame alone";
    EXPECT_EQ(ParamText(2), "row");

    const Value inner = Value::FromInt(9);
    const Value* innerArgs[] = {&inner};
    EnterProcedure(1, innerArgs);
    EXPECT_EQ(ParamInt(1), 9) << "a nested call overwrites the shared entries";
    EXPECT_EQ(ParamText(2), "row") << "entries beyond the new count keep their old contents";
    EXPECT_EQ(ParamInt(1000), 0);
    EXPECT_EQ(ParamText(-1), "");
}

TEST(Value, ReturnValueAlsoStoresTheLastResultButReturnNothingDoesNot) {
    Value result = Value::FromText("stale");
    ReturnValue(&result, 7);
    EXPECT_EQ(result.integer, 7);
    EXPECT_EQ(LastResult().integer, 7);
    ReturnValue(&result, Text("done"));
    EXPECT_EQ(result.kind, ValueKind::String);
    EXPECT_EQ(LastResult().text, "done");

    NumberFormat format(5, 6);
    ReturnNothing(&result);
    EXPECT_EQ(result.kind, ValueKind::Integer);
    EXPECT_EQ(result.text, "0") << "the empty result is a plain 0, never padded";
    EXPECT_EQ(result.integer, 0);
    EXPECT_EQ(LastResult().text, "done");
}

TEST(Value, StacksAreLastInFirstOutAndAnEmptyPopChangesNothing) {
    std::int64_t n = -1;
    PopInt(n);
    EXPECT_EQ(n, -1);
    PushInt(4);
    PushInt(INT64_MIN);
    PopInt(n);
    EXPECT_EQ(n, INT64_MIN);
    PopInt(n);
    EXPECT_EQ(n, 4);
    PopInt(n);
    EXPECT_EQ(n, 4) << "popping past the bottom must leave the destination";

    Text t = "keep";
    PopText(t);
    EXPECT_EQ(t, "keep");
    PushText("first");
    PushText(Text("a\0b", 3));
    PopText(t);
    EXPECT_EQ(t, Text("a\0b", 3));
    PopText(t);
    EXPECT_EQ(t, "first");
    PopText(t);
    EXPECT_EQ(t, "first");
}

TEST(Value, AreasAreZeroFilledAndAreaTextNeverReadsPastTheArea) {
    MemoryArea area;
    AllocateArea(area, 8);
    std::memcpy(area.data(), "name=x", 6);
    EXPECT_EQ(AreaText(area, 0), "name=x");
    EXPECT_EQ(AreaText(area, 5), "x");
    EXPECT_EQ(AreaText(area, 6), "");
    EXPECT_EQ(AreaText(area, 8), "") << "an offset at the end";
    EXPECT_EQ(AreaText(area, 100), "") << "an offset beyond the end";

    AllocateArea(area, 4);
    ASSERT_EQ(area.size(), 4u);
    for (std::size_t i = 0; i < area.size(); ++i) EXPECT_EQ(area.data()[i], '\0') << "byte " << i << " not zeroed";
    std::memcpy(area.data(), "full", 4);
    EXPECT_EQ(AreaText(area, 1), "ull") << "an area without a NUL ends the text at its end";

    FreeArea(area);
    EXPECT_EQ(area.size(), 0u);
    EXPECT_EQ(AreaText(area, 0), "");
}

TEST(Value, SetBitTakesTheBitNumberModulo32) {
    EXPECT_EQ(SetBit(0x21, 0, false), 0x20) << "clearing the read-only attribute";
    EXPECT_EQ(SetBit(0x20, 0, false), 0x20);
    EXPECT_EQ(SetBit(0, 31, true), INT32_MIN);
    EXPECT_EQ(SetBit(-1, 31, false), INT32_MAX);
    EXPECT_EQ(SetBit(0, 32, true), 1);
    EXPECT_EQ(SetBit(0, 35, true), 8);
}

}  // namespace
