#pragma once

#include <QFrame>

class ImageButton;
class QLabel;
struct Pictures;

// Popup: the name card of a user picked in the chatting list, with the name
// U_NAME, the decoration GradeIMG and the close mark Image1.
class NameCard : public QFrame {
    Q_OBJECT
public:
    NameCard(const Pictures& pictures, QWidget* parent);

    void showName(const QString& name);
    QLabel* nameLabel() const { return m_name; }
    ImageButton* closeMark() const { return m_close; }

private:
    QLabel* m_name = nullptr;
    ImageButton* m_close = nullptr;
};
