#include "runtime/guarded.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "runtime/runtime_error.h"
#include "tests/calc/doubles.h"

namespace vorlith {
namespace {

using test::hex;

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kMinNormal = std::numeric_limits<double>::min();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();

const RuntimeError kOverflow{6, "溢出"};
const RuntimeError kDivisionByZero{11, "除数为零"};

enum class Op { Add, Sub, Mul, Div };

struct Outcome {
    std::optional<double> value;
    std::optional<RuntimeError> error;
};

// Runs the operation, catching the error it raises so that its number and
// description can be checked.
Outcome run(Op op, double a, double b) {
    try {
        switch (op) {
            case Op::Add:
                return {guarded::add(a, b), {}};
            case Op::Sub:
                return {guarded::sub(a, b), {}};
            case Op::Mul:
                return {guarded::mul(a, b), {}};
            case Op::Div:
                return {guarded::div(a, b), {}};
        }
    } catch (const RuntimeError& error) {
        return {{}, error};
    }
    return {};
}

struct ValueCase {
    const char* name;
    Op op;
    double a;
    double b;
    double expected;
};

class GuardedResult : public testing::TestWithParam<ValueCase> {};

TEST_P(GuardedResult, IsTheRoundedIeeeValue) {
    const ValueCase& c = GetParam();
    const Outcome got = run(c.op, c.a, c.b);
    ASSERT_FALSE(got.error.has_value())
        << "raised " << got.error->number << " " << got.error->description;
    ASSERT_TRUE(got.value.has_value());
    EXPECT_EQ(*got.value, c.expected) << hex(*got.value) << " instead of " << hex(c.expected);
}

const ValueCase kValueCases[] = {
    {"AddRoundsToNearest", Op::Add, 0.1, 0.2, 0x1.3333333333334p-2},
    {"AddCancelsToZero", Op::Add, 1.5, -1.5, 0},
    {"AddBelowHalfUlpAtMax", Op::Add, kMax, 0x1p969, kMax},
    {"AddOneToMax", Op::Add, kMax, 1, kMax},
    {"SubExact", Op::Sub, 10, 2.5, 7.5},
    {"SubToSubnormal", Op::Sub, kMinNormal, 0x1.0000000000001p-1022, -kTiny},
    {"SubMaxFromMax", Op::Sub, kMax, kMax, 0},
    {"MulExact", Op::Mul, 0.75, 100, 75},
    {"MulRoundsToNearest", Op::Mul, 1.0 / 3, 3, 1},
    {"MulByZero", Op::Mul, kMax, 0, 0},
    {"MulNearMaxRoundsDown", Op::Mul, 0x1.fffffffffffffp+511, 0x1.fffffffffffffp+511,
     0x1.ffffffffffffep+1023},
    {"MulToSubnormal", Op::Mul, kMinNormal, 0.5, 0x1p-1023},
    {"MulSubnormalTieToEven", Op::Mul, kTiny, 1.5, 0x1p-1073},
    {"MulUnderflowTieToZero", Op::Mul, kTiny, 0.5, 0},
    {"MulUnderflowToZero", Op::Mul, 1e-200, 1e-200, 0},
    {"DivRoundsToNearest", Op::Div, 1, 3, 0x1.5555555555555p-2},
    {"DivZeroByNonZero", Op::Div, 0, 5, 0},
    {"DivNegative", Op::Div, -7, 2, -3.5},
    {"DivUnderflowToZero", Op::Div, 1e-300, 1e300, 0},
    {"DivToSubnormal", Op::Div, kMinNormal, 4, 0x1p-1024},
    {"DivMaxByOne", Op::Div, kMax, 1, kMax},
};
INSTANTIATE_TEST_SUITE_P(InRange, GuardedResult, testing::ValuesIn(kValueCases),
                         [](const testing::TestParamInfo<ValueCase>& test) {
                             return std::string(test.param.name);
                         });

struct ErrorCase {
    const char* name;
    Op op;
    double a;
    double b;
    const RuntimeError* expected;
};

class GuardedError : public testing::TestWithParam<ErrorCase> {};

TEST_P(GuardedError, IsRaisedWithNumberAndDescription) {
    const ErrorCase& c = GetParam();
    const Outcome got = run(c.op, c.a, c.b);
    ASSERT_TRUE(got.error.has_value()) << "gave " << hex(got.value.value_or(0));
    EXPECT_EQ(got.error->number, c.expected->number);
    EXPECT_EQ(got.error->description, c.expected->description);
}

const ErrorCase kErrorCases[] = {
    {"AddMaxToMax", Op::Add, kMax, kMax, &kOverflow},
    {"AddNegativeMaxes", Op::Add, -kMax, -kMax, &kOverflow},
    {"AddHalfUlpAtMaxTiesUp", Op::Add, kMax, 0x1p970, &kOverflow},
    {"SubNegativeMaxMinusMax", Op::Sub, -kMax, kMax, &kOverflow},
    {"SubMaxMinusNegativeMax", Op::Sub, kMax, -kMax, &kOverflow},
    {"MulMaxByTwo", Op::Mul, kMax, 2, &kOverflow},
    {"MulLargeSquares", Op::Mul, 1e200, 1e200, &kOverflow},
    {"MulNegativeOverflow", Op::Mul, -1e200, 1e200, &kOverflow},
    {"MulPowerOfTwoTo1024", Op::Mul, 0x1p1023, 2, &kOverflow},
    {"DivMaxByHalf", Op::Div, kMax, 0.5, &kOverflow},
    {"DivLargeBySmall", Op::Div, 1e300, 1e-300, &kOverflow},
    {"DivMaxBySubnormal", Op::Div, kMax, kTiny, &kOverflow},
    {"DivZeroByZero", Op::Div, 0, 0, &kOverflow},
    {"DivNegativeZeroByZero", Op::Div, -0.0, 0, &kOverflow},
    {"DivZeroByNegativeZero", Op::Div, 0, -0.0, &kOverflow},
    {"DivOneByZero", Op::Div, 1, 0, &kDivisionByZero},
    {"DivNegativeByZero", Op::Div, -1, 0, &kDivisionByZero},
    {"DivByNegativeZero", Op::Div, 1, -0.0, &kDivisionByZero},
    {"DivMaxByZero", Op::Div, kMax, 0, &kDivisionByZero},
    {"DivSubnormalByZero", Op::Div, kTiny, 0, &kDivisionByZero},
};
INSTANTIATE_TEST_SUITE_P(OutOfRange, GuardedError, testing::ValuesIn(kErrorCases),
                         [](const testing::TestParamInfo<ErrorCase>& test) {
                             return std::string(test.param.name);
                         });

}  // namespace
}  // namespace vorlith
