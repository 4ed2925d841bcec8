#pragma once
// The reader progress of an import command: the host's progress window, and the user's break as the host
// answers it after each step.
#include "fileio/ReaderProgress.hpp"

class HostReaderProgress : public ReaderProgress {
public:
    ~HostReaderProgress() override;
    void Begin(const QV_String& title, int16_t phaseCount) override;
    void Phase(const QV_String& text, uint32_t maxValue) override;
    bool Step(uint32_t value) override;
    void End() override;

private:
    bool open_ = false;
};
