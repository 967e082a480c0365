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
    // Whether the last activation was a pick from the open list (a click or Enter on a row), and
    // forgets it. QComboBox also activates when the field merely loses the focus.
    bool takePick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GridModel* m_model;
    bool m_open = false;
    bool m_picked = false;
};

} // namespace kontaro::gui
