#pragma once

#include "RowTemplate.h"

// The plain number row for the three custom values, whose titles are the user's: the left menu
// follows "customTitle1" to "customTitle3" of the preferences while the row is shown.
class CustomValuesTemplate : public RowTemplate
{
    Q_OBJECT
public:
    explicit CustomValuesTemplate(const QList<OperatorItem> &operators);

    std::unique_ptr<RowTemplate> copy() const override;

private:
    void updateTitles();
};
