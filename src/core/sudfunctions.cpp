// SPDX-License-Identifier: GPL-3.0-or-later
#include "sudfunctions.h"

#include <cmath>

namespace vendle {

Extended TSUDFunction::ValueOf(Extended) const {
    return 0;
}
Extended TSUDFunction::StepOf(Extended) const {
    return 0;
}
Extended TSUDFunction::RateFor(Extended, Extended, Extended) const {
    return 0;
}

Extended TSUDLinear::ValueOf(Extended step) const {
    return step * Rate;
}

Extended TSUDLinear::StepOf(Extended value) const {
    return Rate != 0 ? value / Rate : 0;
}

Extended TSUDLinear::RateFor(Extended increment, Extended quantity, Extended) const {
    return quantity != 0 ? increment / quantity : 0;
}

Extended TSUDExponential::ValueOf(Extended step) const {
    return Rate > 0 ? std::exp(step * std::log(Rate)) : 0;
}

Extended TSUDExponential::StepOf(Extended value) const {
    return (value > 0 && Rate > 0 && Rate != 1) ? std::log(value) / std::log(Rate) : 0;
}

Extended TSUDExponential::RateFor(Extended increment, Extended quantity, Extended position) const {
    if (position + increment > 0 && position > 0 && quantity != 0)
        return std::exp(std::log((position + increment) / position) / quantity);
    return 0;
}

std::unique_ptr<TSUDFunction> ClassOfKind(int kind) {
    switch (kind) {
    case fkLinear:
        return std::make_unique<TSUDLinear>();
    case fkExponential:
        return std::make_unique<TSUDExponential>();
    default:
        return std::make_unique<TSUDFunction>();
    }
}

TSUDFunctions::TSUDFunctions() : function_(std::make_unique<TSUDLinear>()) {}

void TSUDFunctions::SetKind(int kind) {
    kind_ = kind;
    std::unique_ptr<TSUDFunction> next = ClassOfKind(kind);
    if (function_)
        next->Assign(*function_);
    function_ = std::move(next);
}

void TSUDFunctions::Assign(const TSUDFunctions& source) {
    SetKind(source.FunctionKind());
    SetRate(source.GetRate());
}

void TfConfine::SetMin(Extended v) {
    min_ = v;
    if (min_ > max_)
        max_ = v;
}

void TfConfine::SetMax(Extended v) {
    max_ = v;
    if (min_ > max_)
        min_ = v;
}

Extended TfConfine::Confine(Extended x) const {
    if (!Wrap) {
        if (x < min_)
            x = min_;
        if (x > max_)
            x = max_;
        return x;
    }
    const Extended span = max_ - min_;
    if (span == 0 || !std::isfinite(x))
        return (x >= min_ && x <= max_) ? x : min_;
    // The remainder gives what adding or subtracting the span one at a time would, without the
    // loop and exactly: a value a whole number of spans above the range lands on Max, below it on
    // Min.
    if (x < min_) {
        const Extended r = std::fmod(min_ - x, span);
        return r == 0 ? min_ : max_ - r;
    }
    if (x > max_) {
        const Extended r = std::fmod(x - min_, span);
        return r == 0 ? max_ : min_ + r;
    }
    return x;
}

} // namespace vendle
