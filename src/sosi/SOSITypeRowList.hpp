#pragma once
// The SOSI object-type rows of the import.

class SOSITypeRowList {
public:
    // Resets the rows and empties the list.
    void Clear();
};

// The module's one list.
SOSITypeRowList& SOSITypeRows();
