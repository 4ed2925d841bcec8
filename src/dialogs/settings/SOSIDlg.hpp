#pragma once
// The options dialogs of the SOSI imports into "SOSI OBJECT" objects (`SOSIGDLDlg`, 32539) and into an
// independent worksheet (`SOSI2DDlg`, 32542): one class family whose dialog callback hands every message to a
// virtual slot. The dialog edits a copy of the reader's object-type rows; only OK writes them back.
#include "dialogs/settings/SOSIOptionChoices.hpp"
#include "foundation/QV_List.hpp"
#include "sosi/SOSIRecords.hpp"

#include "DG.hpp"

#include <cstdint>

class SOSIFileCls;

class SOSIDlg {
public:
    SOSIDlg() = default;
    virtual ~SOSIDlg();
    SOSIDlg(const SOSIDlg&) = delete;
    SOSIDlg& operator=(const SOSIDlg&) = delete;

    // The slots, in their order.
    virtual void AdjustSize();
    virtual void Clear();
    // Refreshes the three icons of row `row` (from 0) and the editors when it is the selected row.
    virtual void UpdateRow(int32_t row);
    virtual void FillTypeList();
    virtual void SetIds();
    virtual void ShowPenEditors(int32_t row);
    virtual void ShowValueEditor(int32_t row);
    virtual void RowHook(int32_t row);
    virtual void ApplyDefaultPen();
    // Runs the dialog on the reader, showing `shown`; true on OK, `shown` then holding what the user chose.
    virtual bool DoModal(SOSIFileCls& reader, SOSIOptionChoices& shown);
    virtual void Init();
    virtual void StoreOnOK();
    // The item that closes the dialog, 0 to keep it open.
    virtual int16_t Click(int16_t item);
    virtual void Change(int16_t item);
    virtual void Track(int16_t item);
    virtual void UserItemUpdate(int16_t item, DGMessageData data);
    virtual void Resize(int32_t dx, int32_t dy);

    int16_t dialogId = 0;
    SOSIFileCls* reader = nullptr;
    SOSIOptionChoices* choices = nullptr;
    QV_List<SOSIOType> rows;
    uint8_t allImport = 0, allOwnPen = 0, allOwnValue = 0;
    uint16_t gsdgId = 0;
    uint16_t columnCount = 0;
    uint16_t importIcon = 0, penIcon = 0, valueIcon = 0;
    uint16_t columns[8] = {};

protected:
    // Column numbers by role.
    int16_t Column(int32_t role) const { return int16_t(columns[role]); }
    // The selected row from 0, -1 when none.
    int32_t SelectedRow() const;
    void ShowRowTexts(int32_t row);
    void SetPenOfSelected(int32_t pen);
};

class SOSIGDLDlg : public SOSIDlg {
public:
    ~SOSIGDLDlg() override;
    void AdjustSize() override;
    void SetIds() override;
};

class SOSI2DDlg : public SOSIDlg {
public:
    ~SOSI2DDlg() override;
    void AdjustSize() override;
    void SetIds() override;
    void Init() override;
    void StoreOnOK() override;
    int16_t Click(int16_t item) override;
    void Resize(int32_t dx, int32_t dy) override;
};

// The callback of 32539 and 32542; its user data is the dialog object.
int16_t SOSIDlgProc(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);

constexpr int16_t SOSIGDLDialogId = 32539;
constexpr int16_t SOSI2DDialogId = 32542;
