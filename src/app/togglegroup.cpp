#include "app/togglegroup.h"

#include <QAbstractButton>

TToggleGroup::TToggleGroup(QObject *parent) : QObject(parent) {}

void TToggleGroup::Add(QAbstractButton *button)
{
    button->setCheckable(true);
    m_buttons.append(button);
    connect(button, &QAbstractButton::clicked, this,
            [this, button](bool checked) { ButtonClicked(button, checked); });
}

QAbstractButton *TToggleGroup::Down() const
{
    for (QAbstractButton *button : m_buttons)
        if (button->isChecked())
            return button;
    return nullptr;
}

void TToggleGroup::SetDown(QAbstractButton *button)
{
    for (QAbstractButton *other : m_buttons)
        other->setChecked(other == button);
}

void TToggleGroup::ButtonClicked(QAbstractButton *button, bool checked)
{
    if (checked)
        for (QAbstractButton *other : m_buttons)
            if (other != button)
                other->setChecked(false);
    Q_EMIT Clicked(button);
}
