#include "foundation/FileUtils.hpp"

#include "IO.hpp"
#include "UniString.hpp"

namespace {

IO::Location LocationOf(const QV_String& path) {
    return IO::Location(GS::UniString(path.GetBuffer(), path.GetLength()));
}

}  // namespace

int32_t SmallFileError(GSErrCode err) {
    switch (static_cast<uint32_t>(err)) {
        case 0u: return FileErrNone;
        case 0x81000100u: return FileErrGeneral;
        case 0x81010100u: return FileErrIO;
        case 0x81010102u: return FileErrNotFound;
        case 0x81010103u: return FileErrAccessDenied;
        default: return FileErrOther;
    }
}

bool FileExists(const QV_String& path) {
    if (path.GetLength() == 0) return false;
    IO::File file(LocationOf(path));
    if (file.Open(IO::File::ReadMode) != 0) return false;
    file.Close();
    return true;
}

int32_t WriteBufferToFile(const QV_String& path, const void* bytes, uint32_t byteCount, bool append,
                          bool createWhenMissing) {
    if (path.GetLength() == 0 || (bytes == nullptr && byteCount > 0)) return FileErrOther;
    IO::File file(LocationOf(path), createWhenMissing ? IO::OnNotFound::Create : IO::OnNotFound::Fail);
    if (file.GetStatus() != 0) return SmallFileError(file.GetStatus());
    const GSErrCode openErr = file.Open(append ? IO::File::AppendMode : IO::File::WriteMode);
    if (openErr != 0) return SmallFileError(openErr);
    int32_t result = FileErrNone;
    if (byteCount > 0 && file.WriteBin(static_cast<const char*>(bytes), byteCount) != 0) result = FileErrOther;
    if (file.Close() != 0 && result == FileErrNone) result = FileErrOther;
    return result;
}

bool OpenedNoFile(const QV_String& path, GSErrCode openError) {
    // The host answers a folder as it answers a file it may not read.
    return openError == IO::ErrNotRegular ||
        (openError == IO::ErrAccessDenied && IO::FileSystem::IsFolder(LocationOf(path)));
}

void LocationToPathString(QV_String& outText, const IO::Location& location) {
    GS::UniString path;
    if (location.IsEmpty() || location.ToPath(&path) != NoError) {
        outText = QV_String("");
        return;
    }
    uint32_t n = path.GetLength();
    while (n > 0 && path.ToUStr()[n - 1] == u'\\') --n;
    outText = QV_String("");
    outText.AppendWide(path.ToUStr(), n);
}
