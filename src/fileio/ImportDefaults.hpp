#pragma once
// The defaults of the file imports.

class ImportDefaults {
public:
    // Sets the import defaults.
    void Init();
};

// The module's one record.
ImportDefaults& ImportDefaultsRecord();
