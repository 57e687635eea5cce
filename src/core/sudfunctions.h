// SPDX-License-Identifier: GPL-3.0-or-later
// Value functions of the slide up-down control: a step coordinate maps to a value linearly (a step
// adds a constant) or exponentially (a step multiplies by a constant), and a confinement keeps
// values in a range by clamping or wrapping. All arithmetic is in extended precision.
#pragma once

#include <memory>

namespace vendle {

using Extended = long double;

enum TFunctionKind { fkLinear = 0, fkExponential = 1 };

// The base kind answers 0 everywhere.
class TSUDFunction {
public:
    TSUDFunction() = default;
    virtual ~TSUDFunction() = default;

    Extended Rate = 0;

    virtual Extended ValueOf(Extended step) const;
    virtual Extended StepOf(Extended value) const;
    // The rate for which `quantity` steps from `position` change the value by `increment`.
    virtual Extended RateFor(Extended increment, Extended quantity, Extended position) const;

    // Copies the rate of another function of any kind.
    void Assign(const TSUDFunction& source) { Rate = source.Rate; }
};

class TSUDLinear final : public TSUDFunction {
public:
    TSUDLinear() { Rate = 1; }
    Extended ValueOf(Extended step) const override;
    Extended StepOf(Extended value) const override;
    Extended RateFor(Extended increment, Extended quantity, Extended position) const override;
};

class TSUDExponential final : public TSUDFunction {
public:
    TSUDExponential() { Rate = 2; }
    Extended ValueOf(Extended step) const override;
    Extended StepOf(Extended value) const override;
    Extended RateFor(Extended increment, Extended quantity, Extended position) const override;
};

// Makes a new function of the kind's class: linear, exponential, or the base for anything else.
std::unique_ptr<TSUDFunction> ClassOfKind(int kind);

// Holds the current value function and passes the operations to it.
class TSUDFunctions {
public:
    TSUDFunctions();

    int FunctionKind() const { return kind_; }
    // Replaces the function with a new one of kind `kind` that keeps the old rate.
    void SetKind(int kind);

    Extended GetRate() const { return function_->Rate; }
    void SetRate(Extended rate) { function_->Rate = rate; }

    void Assign(const TSUDFunctions& source);

    Extended ValueOf(Extended step) const { return function_->ValueOf(step); }
    Extended StepOf(Extended value) const { return function_->StepOf(value); }
    Extended RateFor(Extended i, Extended q, Extended p) const { return function_->RateFor(i, q, p); }

private:
    int kind_ = fkLinear;
    std::unique_ptr<TSUDFunction> function_;
};

// A range that values are clamped or wrapped into. Min <= Max after every write. Wrapping with
// Min = Max (no span) gives Min for any value outside the range.
class TfConfine {
public:
    Extended Min() const { return min_; }
    Extended Max() const { return max_; }
    void SetMin(Extended v);
    void SetMax(Extended v);
    bool Wrap = false;

    Extended Confine(Extended x) const;

private:
    Extended min_ = 0;
    Extended max_ = 0;
};

} // namespace vendle
