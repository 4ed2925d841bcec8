#pragma once
// The host's loaded object libraries: library folders, each holding one description file per library part
// (library/LibraryDescription.hpp), and the parts found in them by name or unique id with their default
// parameter lists; new parts created and saved into a library folder.
#include "GSRoot.hpp"
#include "library/LibraryParams.hpp"
#include "library/LibraryPart.hpp"

#include <cstdint>
#include <string>
#include <vector>

class LibraryStore {
public:
    // Loads every description file of the folder as one library; a folder loaded already stays as it is (true).
    // False, with `error`, when the folder cannot be read or any of its files is faulty, when two of its files
    // name the same part, or when it holds no description: nothing changes then. `faultyFile` (optional) tells
    // whether a description itself was at fault.
    bool LoadFolder(const std::string& folder, std::string* error, bool* faultyFile = nullptr);
    void Clear();
    // The project's embedded library: a folder of the user's that becomes a library folder of the project when
    // the first part is saved into it. `TakeEmbeddedFolder` does that for `folder` when it is the embedded one
    // (created when missing); true when `folder` is a loaded folder afterwards.
    void SetEmbeddedFolder(const std::string& folder) { embedded_ = folder; }
    const std::string& EmbeddedFolder() const { return embedded_; }
    bool TakeEmbeddedFolder(const std::string& folder);

    // The loaded folders in load order (as given, "/" separated).
    const std::vector<std::string>& Folders() const { return folders_; }
    int32_t PartCount() const { return int32_t(parts_.size()); }

    // Library-part indices run from 1. Search by name ignores letter case and, failing an exact name, an
    // extension only one of the two names has; `type` 0 accepts any type. The first loaded part with that name wins. -1 when absent.
    int32_t FindByName(const std::string& name, int32_t type) const;
    // By unique id, ignoring letter case; -1 when absent.
    int32_t FindByUnID(const std::string& unID) const;
    const LibPartDef* Part(int32_t index) const;

    // The default parameter list of a part: a handle of API_AddParType records (arrays as handles of their
    // cells). Null when the index is bad or memory fails. Free it with DisposeParamHandle.
    GSHandle MakeParamHandle(int32_t index) const;

    // --- changing parts and creating new ones
    // A folder no part may be created or saved in, and the folders inside it: the library shipped beside the
    // module, which a run may read but never change. "" none.
    void SetReadOnlyFolder(const std::string& folder) { readOnly_ = folder; }
    bool IsReadOnly(const std::string& folder) const;
    LibPartDef* MutablePart(int32_t index);
    // 'OWLP': whether a new part may take the place of a part of its name.
    void SetOverwrite(bool on) { overwrite_ = on; }
    bool Overwrite() const { return overwrite_; }
    // Starts a part (name, type, parent and optional unique id of `part`; its sections and parameters start
    // empty) in `folder`, a loaded library folder. Refused, with `why`: a bad name, a folder that is not a
    // library of the project (APIERR_BADPARS), a read-only folder (APIERR_REFUSED), a part of that name when overwriting is off or when it lies in
    // another library (APIERR_NAMEALREADYUSED). A part being created before is dropped. The index the part will
    // have comes back (that of the part it replaces, or the next one), and its unique id is settled: the one
    // given when no other part has it, else a new one.
    GSErrCode BeginPart(const LibPartDef& part, const std::string& folder, int32_t* index, std::string* why);
    // The part being created and its index; null / 0 when none.
    LibPartDef* PartBeingCreated() { return creating_ ? &newPart_ : nullptr; }
    int32_t IndexBeingCreated() const { return creating_ ? newIndex_ : 0; }
    // Writes the part being created into its folder's description file (a new file "<name>.lpd", or the file
    // of the part it replaces) and makes it a part of the library; its index comes back. Nothing changes when
    // the file cannot be written (APIERR_GENERAL, `why`) or none is being created (APIERR_NOTCREATING).
    GSErrCode SavePart(int32_t* index, std::string* why);

    // The part whose default parameter list 'OPAR' opened; 0 when none is open. Emptying the store leaves it.
    int32_t OpenParams() const { return openParams_; }
    void SetOpenParams(int32_t index) { openParams_ = index; }

    // An undoable command's changes to the libraries: from `BeginCommand` on, the parts saved, the parts they
    // replaced, the files they wrote and the folders taken are noted; `EndCommand(true)` puts all of them back as
    // they were (a command taken back leaves the embedded library as before), `EndCommand(false)` keeps them.
    void BeginCommand();
    void EndCommand(bool takeBack);

private:
    struct CommandNote {
        bool open = false;
        size_t parts = 0;
        size_t folders = 0;
        std::vector<std::pair<size_t, LibPartDef>> replaced;     // index into parts_, the part before
        std::vector<std::pair<std::string, std::string>> files;  // path, its text before ("" when new)
        std::vector<std::string> newFiles;
    };
    CommandNote note_;
    // Notes `path` before a save overwrites it.
    void NoteFile(const std::string& path);

    std::string embedded_;
    std::string readOnly_;
    struct Entry {
        size_t folder;
        LibPartDef part;
    };
    std::vector<std::string> folders_;
    std::vector<Entry> parts_;
    bool overwrite_ = false;
    bool creating_ = false;
    LibPartDef newPart_;
    size_t newFolder_ = 0;
    int32_t newIndex_ = 0;
    int32_t replaces_ = 0;  // the index of the part the new one replaces, 0 none
    int32_t openParams_ = 0;
};
