#pragma once

#include <QList>
#include <QObject>

class QAbstractButton;

// Checkable buttons of which at most one is down. Pressing another one releases the first; pressing
// the one that is down releases it, so all may be up (QButtonGroup's exclusive mode forbids that).
// Clicked is emitted after the group has settled, so a handler sees the final state of every button.
class TToggleGroup : public QObject
{
    Q_OBJECT

public:
    explicit TToggleGroup(QObject *parent = nullptr);

    void Add(QAbstractButton *button);
    const QList<QAbstractButton *> &Buttons() const { return m_buttons; }
    // The button that is down, or nullptr when all are up.
    QAbstractButton *Down() const;
    // Puts button down (the others up) without emitting Clicked, as the program does it.
    void SetDown(QAbstractButton *button);

Q_SIGNALS:
    void Clicked(QAbstractButton *button);

private:
    void ButtonClicked(QAbstractButton *button, bool checked);

    QList<QAbstractButton *> m_buttons;
};
