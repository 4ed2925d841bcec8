#pragma once
// What a survey-file reader tells about a long read, and how it learns that the user wants to stop. The import
// command hands the reader one that drives the host progress window; without one a reader runs silent to the
// end. A reader calls Step after every unit of work (a line, a record, a chunk) and stops when it answers true.
#include "foundation/QV_String.hpp"

#include <cstdint>

class ReaderProgress {
public:
    virtual ~ReaderProgress() = default;

    // The read starts: `title` of the window, `phaseCount` phases to come.
    virtual void Begin(const QV_String& title, int16_t phaseCount);
    // A new phase ("Reading...", "Interpretation...") whose values run from 0 to `maxValue`.
    virtual void Phase(const QV_String& text, uint32_t maxValue);
    // The current phase reached `value`; true when the user asked to stop.
    virtual bool Step(uint32_t value);
    // The read is over, finished or not.
    virtual void End();
};

// Shows nothing and never asks to stop.
ReaderProgress& NullReaderProgress();
