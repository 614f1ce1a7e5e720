#pragma once

#include <QString>

class QLineEdit;

// One frequency box as its change rule sees it: the content, the caret
// (characters in front of it) and the last content the rule let stand.
struct FrequencyBox {
    QString content;
    int caret = 0;
    QString remembered;
};

// The change rule of Text1_Change / Text2_Change, run after the content
// changed: refuses a non-digit in front of the caret and anything longer than
// nine characters by restoring the remembered text, then remembers what
// stands. The restore is itself a change and runs the rule again, nested,
// exactly as the box would.
FrequencyBox frequencyRule(const FrequencyBox &changed);

// Runs the rule on a real box after its textChanged. Keeps QLineEdit's own
// habits out: the textChanged raised by restoring the text is not run again,
// and the caret is placed after the text is set.
void applyFrequencyRule(QLineEdit &box, QString &remembered);
