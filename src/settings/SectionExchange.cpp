#include "settings/SectionExchange.hpp"

#include <cmath>
#include <limits>

namespace {
// The integer of a parameter value: truncated toward zero; false when the value is no number or the integer
// does not fit the type.
template <typename I>
bool ToInteger(double value, I& out) {
    if (!std::isfinite(value)) return false;
    const double whole = std::trunc(value);
    if (whole < double(std::numeric_limits<I>::min()) || whole > double(std::numeric_limits<I>::max())) return false;
    out = I(whole);
    return true;
}
}  // namespace

bool SectionExchange::Number(int32_t index, double& value) {
    if (!ok_) return false;
    double number = value;
    ok_ = view_.GetSetDouble(index, number, writing_ ? LPMode_Set : LPMode_Get);
    if (ok_ && !writing_) {
        ok_ = std::isfinite(number);
        if (ok_) value = number;
    }
    return ok_;
}

template <typename I>
bool SectionExchange::Integer(int32_t index, I& value) {
    if (!ok_) return false;
    double number = double(value);
    if (!Number(index, number)) return false;
    if (!writing_) ok_ = ToInteger(number, value);
    return ok_;
}

void SectionExchange::Short(int32_t index, int16_t& field) { Integer(index, field); }

void SectionExchange::Short(int32_t index, uint16_t& field) {
    auto value = int16_t(field);
    if (Integer(index, value) && !writing_) field = uint16_t(value);
}

void SectionExchange::Short(int32_t index, int32_t& field) {
    auto value = int16_t(field);
    if (Integer(index, value) && !writing_) field = value;
}

void SectionExchange::Long(int32_t index, int32_t& field) { Integer(index, field); }

void SectionExchange::Real(int32_t index, double& field) { Number(index, field); }

void SectionExchange::Text(int32_t index, QV_String& field) {
    if (!ok_) return;
    // Through a temporary: a failed read leaves the field as it was.
    QV_String text = field.HasBuffer() ? field : QV_String("");
    ok_ = view_.GetSetString(index, text, writing_ ? LPMode_Set : LPMode_Get);
    if (ok_ && !writing_) field.Swap(text);
}

bool SectionExchange::PutShort(int32_t index, int16_t value) {
    if (!ok_) return false;
    double number = value;
    ok_ = view_.GetSetDouble(index, number, LPMode_Set);
    return ok_;
}

bool SectionExchange::GetShort(int32_t index, int16_t& value) {
    if (!ok_) return false;
    double number = 0.0;
    ok_ = view_.GetSetDouble(index, number, LPMode_Get) && ToInteger(number, value);
    return ok_;
}

bool SectionExchange::PutReal(int32_t index, double value) {
    if (!ok_) return false;
    ok_ = view_.GetSetDouble(index, value, LPMode_Set);
    return ok_;
}

bool SectionExchange::GetReal(int32_t index, double& value) {
    if (!ok_) return false;
    double number = 0.0;
    ok_ = view_.GetSetDouble(index, number, LPMode_Get) && std::isfinite(number);
    if (ok_) value = number;
    return ok_;
}

void SectionExchange::HeightSplit(int32_t levelIndex, int32_t negativeIndex, double& field) {
    if (writing_) {
        const bool below = field <= -1e-7;
        PutReal(levelIndex, below ? 0.0 : field);
        PutReal(negativeIndex, below ? field : 0.0);
        return;
    }
    double level = 0.0;
    double negative = 0.0;
    if (GetReal(levelIndex, level) && GetReal(negativeIndex, negative)) field = level + negative;
}

void SectionExchange::RequireNumber(int32_t index) {
    double ignored = 0.0;
    if (!writing_) GetReal(index, ignored);
}
