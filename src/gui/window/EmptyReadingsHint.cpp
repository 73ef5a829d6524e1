#include "EmptyReadingsHint.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *makeButton(const char *key, const char *explanationKey, QWidget *parent)
{
    auto *button = new QPushButton(qtTrId(key), parent);
    button->setAccessibleName(qtTrId(key));
    button->setAccessibleDescription(qtTrId(explanationKey));
    button->setAutoDefault(false);
    return button;
}

} // namespace

EmptyReadingsHint::EmptyReadingsHint(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pEmptyReadingsHint"));
    setAccessibleName(qtTrId("window.empty.title"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    pTitle = new QLabel(qtTrId("window.empty.title"), this);
    QFont title = pTitle->font();
    title.setPointSizeF(title.pointSizeF() * 1.4);
    title.setBold(true);
    pTitle->setFont(title);
    pTitle->setAlignment(Qt::AlignCenter);
    pText = new QLabel(qtTrId("window.empty.text"), this);
    pText->setWordWrap(true);
    pText->setAlignment(Qt::AlignCenter);

    pAdd = makeButton("window.empty.add", "window.empty.add_explained", this);
    pImport = makeButton("window.empty.import", "window.empty.import_explained", this);
    pMonitor = makeButton("window.empty.monitor", "window.empty.monitor_explained", this);
    const auto explanation = [this](QPushButton *button) {
        auto *label = new QLabel(button->accessibleDescription(), this);
        label->setWordWrap(true);
        label->setForegroundRole(QPalette::PlaceholderText);
        return label;
    };

    auto *choices = new QGridLayout;
    choices->setHorizontalSpacing(12);
    int row = 0;
    for (QPushButton *button : {pAdd, pImport, pMonitor}) {
        choices->addWidget(button, row, 0);
        choices->addWidget(explanation(button), row, 1);
        ++row;
    }
    choices->setColumnStretch(1, 1);

    auto *column = new QVBoxLayout;
    column->addWidget(pTitle);
    column->addSpacing(6);
    column->addWidget(pText);
    column->addSpacing(12);
    column->addLayout(choices);

    auto *layout = new QHBoxLayout(this);
    layout->addStretch(1);
    auto *middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addLayout(column);
    middle->addStretch(2);
    layout->addLayout(middle, 4);
    layout->addStretch(1);

    setFocusProxy(pAdd);
    connect(pAdd, &QPushButton::clicked, this, &EmptyReadingsHint::addRequested);
    connect(pImport, &QPushButton::clicked, this, &EmptyReadingsHint::importRequested);
    connect(pMonitor, &QPushButton::clicked, this, &EmptyReadingsHint::importMonitorRequested);
}

void EmptyReadingsHint::setMonitorUnavailable(const QString &reason)
{
    pMonitor->setEnabled(reason.isEmpty());
    pMonitor->setToolTip(reason);
}
