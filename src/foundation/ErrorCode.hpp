#pragma once
// The module's result codes: each up to 68 is the entry of its message in the error table (resources/STRS/32521),
// which the error alert shows (ShowErrorMessage); 69 and 70 show texts of the SOSI import table, which the
// coordinate locator's commands share with the import. 0 is success; the entries from 80 to 100 and from 140 on are a
// read's notes (fileio/ReadReport).
#include <cstdint>

enum ErrorCode : int32_t {
    NoErrorCode = 0,
    ErrMemory = 1,                    // "Memory cannot be allocated."
    ErrNoTxtExtension = 2,            // "The name of the source file does not include the extension .TXT"
    ErrNoDxfExtension = 3,            // "The name of the source file does not include the extension .DXF"
    ErrTxtExtension = 4,              // "The name of the source file must end with the extension .TXT"
    ErrDxfExtension = 5,              // "The name of the source file must end with the extension .DXF"
    ErrGsmExtension = 6,              // "The name of the source file must end with the extension .GSM"
    ErrCreatingFile = 7,              // "Error while creating the file."
    ErrReadingFile = 8,               // "Error while reading the file."
    ErrDefaults = 9,                  // "Default information for the object cannot be obtained."
    ErrFindingData = 10,              // "Error while finding data."
    ErrPointOfView = 11,              // "Inappropriate point of view."
    ErrSpecifyingPoint = 12,          // "Error specifying point."
    ErrSpecifyingLine = 13,           // "Error specifying line."
    ErrSpecifyingPolygon = 14,        // "Error specifying polygon."
    ErrUnsuitablePolygon = 15,        // "The resulting polygon is not suitable."
    ErrOutlineTooShort = 16,          // "The resulting outline has less than three nodes"
    ErrTwoOutlines = 17,              // "More than one outline has been selected."
    ErrNoOutline = 18,                // "No outline selected."
    ErrOutlineCorners = 19,           // "The selected outline has corners without points in this plane."
    ErrClickOuterSegment = 20,        // "Click on a segment of the outermost polygon of the fill selected."
    ErrClickLineSegment = 21,         // "You must click on a segment of the fill representing a line, not an arc."
    ErrClickOtherSegment = 22,        // "You must click on a segment different from the previous one."
    ErrClickSelectedFill = 23,        // "You must click on the selected fill."
    ErrClickNonAdjacentSegment = 24,  // "You must click on a segment not adjacent to the previous one."
    ErrObjectInformation = 25,        // "Error while finding information on the objects."
    ErrCalculatingAltitudes = 26,     // "Error while calculating altitudes."
    ErrSuspendGroups = 27,            // "Suspend groups before performing this command."
    ErrInsertingSegment = 28,         // "Error while inserting segment"
    ErrSelectTerrain = 29,            // "Select a terrain to perform the command."
    ErrSkirtMadeVisible = 30,         // "To correctly manage the skirt of the terrain it must be visible."
    ErrPointPresent = 31,             // "The point is already present in the position indicated."
    ErrSelectPoint = 32,              // "You must select a point."
    ErrConstraintCrosses = 33,        // "The constraint inserted intersects other constraints! Re-enter."
    ErrNothingReadable = 34,          // "The selected file does not contain information readable by Lodravix."
    ErrInsertingDirection = 35,       // "Error while inserting direction"
    ErrOneTerrainOnly = 36,           // "Select one terrain only to perform the command."
    ErrNoObstacle = 37,               // "The excavation/road does not have obstacles to be removed."
    ErrObstaclePick = 38,             // "Error while selecting the obstacle to be removed."
    ErrNotItsObstacle = 39,           // "You must click on an obstacle associated with the selected excavation/road."
    ErrObstacleRemoval = 40,          // "Error while deleting obstacle."
    ErrCalculation = 41,              // "Calculation error."
    ErrDatabase = 42,                 // "Error while modifying database."
    ErrModifying = 43,                // "Error while modifying/creating the object."
    ErrMustBeClosed = 44,             // "The selected polygon must be closed to perform the command."
    ErrMustBeOpen = 45,               // "The selected polygon must be open to perform the command."
    ErrHasCurves = 46,                // "The selected polygon must not contain curves to perform the command."
    ErrClickInsideTerrain = 47,       // "Click on a point inside the terrain selected."
    ErrLevels = 48,                   // "The levels inserted do not correspond."
    ErrSettings = 49,                 // "Error while managing settings."
    ErrAlreadyLinked = 50,            // "The object is already linked to a terrain."
    ErrUpdateFailed = 51,             // "Error while modifying one or more objects."
    ErrNoConditions = 52,             // "The conditions do not exist to apply the command!!!"
    ErrRetainingWallEdit = 53,        // "Editing of the retaining walls does not give the required result!"
    ErrNoFill = 55,                   // "You have not selected a fill"
    ErrCreatingMesh = 56,             // "Error while creating mesh"
    ErrSelectedElement = 57,          // "Error in managing the selected element"
    ErrDialog = 58,                   // "Error while managing the dialog"
    ErrOneElementOnly = 59,           // "You must select one element only"
    ErrSubtype = 60,                  // "Incorrect subtype"
    ErrLocation = 61,                 // "Location error"
    ErrObjectInLibrary = 62,          // "Object already present in library"
    ErrCreatingObject = 63,           // "Error while creating object"
    ErrInitial = 64,                  // "Initial error while creating object"
    ErrLayer = 65,                    // "Layer settings error"
    ErrObjectSettings = 66,           // "Object settings error"
    ErrNoSosExtension = 67,           // "The name of the source file does not include the extension .SOS"
    ErrSosExtension = 68,             // "The name of the source file must end with the extension .SOS"
    ErrJustInsertLocator = 69,        // "Just insert the Coordinate Locator object!" (SOSI table)
    ErrNotTheNeededObject = 70,       // "The selected object isn't the needed one!" (SOSI table)
};

// The last code the error alert shows; it shows nothing for a code past it.
constexpr int32_t LastErrorCode = ErrNotTheNeededObject;

// The entry of the SOSI import table (SOSITableBase) holding the text of a code past the error table's; 0 for the
// others.
constexpr int32_t SOSITableEntryOf(int32_t code) {
    return code == ErrJustInsertLocator ? 14 : code == ErrNotTheNeededObject ? 16 : 0;
}

// Entries of the error table past the codes: texts a dialog shows in an alert of its own (no code shows them), and
// the templates an alert fills with what it names ("{1}" the first argument).
enum ErrorTableText : int32_t {
    ShpExtensionText = 69,         // "The name of the file must end with the .shp extension" (shown by none)
    NameUsedText = 70,             // "Name already used or empty!"
    IntervalsText = 71,            // "The intervals defined are not congruent"
    CountedText = 101,             // "{1} ({2})"
    NotUpdatedText = 102,          // "Left as they were: {1}"
    SharedNameText = 103,          // "{1} ({2} of {3})"
    TableMissingText = 104,        // "The shapefile's attribute table {1} is missing."
    HeightTableMissingText = 105,  // "No height was taken from a field: the table {1} is missing."
    HeightFieldMissingText = 106,  // "No height was taken from a field: the table has no number field."
    HeightTableUnreadText = 107,   // "No height was taken from a field: the table {1} could not be read."
    OffsetNotStoredText = 108,     // "The project offset could not be stored: the saved project may hold an older one."
    PaletteNotOpenedText = 109,    // "The Lodravix palette could not be opened: its window could not be made."
    MenuTextNotSetText = 110,      // "The menu's texts could not be updated: they may not say what the palette does."
    SlopeAngleText = 161,          // "{1} cannot be built: a slope angle is not above 0 and below 90 degrees."
    ZeroWidthText = 162,           // "{1} cannot be built: its width is zero."
    CrossingOutlineText = 163,     // "{1} cannot be built: its outline crosses itself."
    FlatOutlineText = 164,         // "{1} cannot be built: its outline has no area, its points lie on one line."
    LevelOutOfReachText = 165,     // "{1} cannot be built: its level lies more than 10 km off the terrain's heights."
    TooSteepText = 166,            // "{1} cannot be built: its platform is as steep as its slopes or steeper."
    OffTerrainText = 167,          // "{1} cannot be built: its outline reaches off the terrain."
    NoBodyText = 168,              // "{1} cannot be built: its parameters give it no body."
    NotMeasuredText = 169,         // "These earthworks could not be measured and are left out of the results."
    NotMeasuredListText = 170,     // "Not measured, their parameters giving them no body: {1}"
    SettingsFileNotAFileText = 190,  // "The settings file {1} is no file (a folder, a pipe, a device): not read."
    DxfStopPlaceText = 191,          // "line {1} (group code "{2}")"
    ReadNotesTitleText = 192,        // "Read, with notes"
};

// The entry of the title of every error alert ("Error").
constexpr int32_t ErrorTitleEntry = 54;
