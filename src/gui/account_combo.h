#pragma once

#include <QComboBox>

namespace kontaro::gui {

class GridModel;

// An editable drop-down. When its control has a grid source the list opens as a table with the
// source's columns (the account lists: Knr, Typ, Ustp, Saldo, Name); otherwise it lists the items.
class AccountCombo : public QComboBox {
    Q_OBJECT
public:
    explicit AccountCombo(GridModel* model, QWidget* parent = nullptr);

    void showPopup() override;
    bool isPopupOpen() const { return m_open; }
    void hidePopup() override;

private:
    GridModel* m_model;
    bool m_open = false;
};

} // namespace kontaro::gui
