#pragma once
// One pass of a settings section over a parameter view: each call moves one parameter, addressed by its index
// in the view's name table, between the view and a field. Direction 1 writes the field into the parameter;
// direction 0 reads the parameter into the field. The first call that fails ends the pass: every later call
// does nothing. A section reads into a copy of its record and hands the copy over only when the whole pass
// succeeded (Finish), so with direction 0 a record changes entirely or not at all; with direction 1 the
// parameters written before a failure keep their new values.
//
// The parameters come from files and objects the user can edit, so reads are checked: a number must be
// finite, and one read into an integer field must lie inside that field's range once truncated toward zero
// (3.9 reads 3, -3.9 reads -3, 40000 into 16 bits fails). Such a value fails the read instead of being cut.
#include "elements/BaseLP.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>

constexpr int32_t SectionRead = 0;
constexpr int32_t SectionWrite = 1;

class SectionExchange {
public:
    SectionExchange(BaseLP& view, int32_t direction) : view_(view), writing_(direction == SectionWrite) {}

    bool Writing() const { return writing_; }
    bool Ok() const { return ok_; }
    BaseLP& View() { return view_; }

    // 16-bit fields: written widened to a real, read truncated toward zero. An unsigned field travels as its
    // 16 bits read signed; a 32-bit field that holds a 16-bit value is written as its low 16 bits and read back
    // sign-extended.
    void Short(int32_t index, int16_t& field);
    void Short(int32_t index, uint16_t& field);
    void Short(int32_t index, int32_t& field);
    // A 32-bit integer field.
    void Long(int32_t index, int32_t& field);
    void Real(int32_t index, double& field);
    // Texts travel whole; a field without buffer is written as "".
    void Text(int32_t index, QV_String& field);

    // A 16-bit value or a real that belongs to no field, for conversions.
    bool PutShort(int32_t index, int16_t value);
    bool GetShort(int32_t index, int16_t& value);
    bool PutReal(int32_t index, double value);
    bool GetReal(int32_t index, double& value);

    // A height kept in two parameters: a value at or below -1e-7 goes to `negativeIndex` with 0 in
    // `levelIndex`, any other value to `levelIndex` with 0 in `negativeIndex`; read back as their sum.
    void HeightSplit(int32_t levelIndex, int32_t negativeIndex, double& field);

    // A step of the section's own (an array exchange, a conversion): `step` answers success.
    template <typename Step>
    void Custom(Step step) {
        if (ok_) ok_ = step();
    }

    // Direction 0 only: the parameter must be there as a number; its value is not kept.
    void RequireNumber(int32_t index);

    // With direction 0 after a successful pass, `record` takes `local`. Answers the pass's success.
    template <typename Record>
    bool Finish(Record& record, const Record& local) {
        if (ok_ && !writing_) record = local;
        return ok_;
    }

private:
    bool Number(int32_t index, double& value);
    template <typename I>
    bool Integer(int32_t index, I& value);

    BaseLP& view_;
    bool writing_;
    bool ok_ = true;
};
