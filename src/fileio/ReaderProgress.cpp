#include "fileio/ReaderProgress.hpp"

void ReaderProgress::Begin(const QV_String&, int16_t) {}

void ReaderProgress::Phase(const QV_String&, uint32_t) {}

bool ReaderProgress::Step(uint32_t) { return false; }

void ReaderProgress::End() {}

ReaderProgress& NullReaderProgress() {
    static ReaderProgress silent;
    return silent;
}
