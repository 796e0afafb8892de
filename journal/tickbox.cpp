#include "journal/tickbox.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace journal {

using namespace platform;

TTickBox::TTickBox(TComponent* owner) : TControl(owner) {
    SetAccessibleRole(arCheckBox);
    SetAccessibleChecked(false);
    setCursor(Qt::PointingHandCursor);
}

void TTickBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    SetAccessibleChecked(checked);
    update();
}

void TTickBox::Click() {
    SetChecked(!checked_);
    TControl::Click();
}

void TTickBox::PaintControl(QPainter& painter) {
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = Caption();
    option.state |= checked_ ? QStyle::State_On : QStyle::State_Off;
    option.state &= ~QStyle::State_HasFocus; // the form draws the focus ring
    option.palette.setColor(QPalette::WindowText, ToQColor(Font()->Color()));
    painter.setFont(Font()->ToQFont());
    option.fontMetrics = painter.fontMetrics();
    style()->drawControl(QStyle::CE_CheckBox, &option, &painter, this);
}

} // namespace journal
