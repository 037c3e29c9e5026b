#pragma once

#include <QString>
#include <QtGlobal>

// The line a caller of the picker hands over when an existing line was clicked.
struct PickerLine {
    QString code;      // number (four characters), five blanks, description
    QString unitPrice; // "$0.00"
    QString qty;       // "00"
    QString asmHours;  // "0.00 Hr"; the invoice editor has no hours
    QString engHours;
    QString testHours;
    QString kind; // "P" for a part, "I" for an assembled item
};

// What the picker (getpart) needs from the window that opened it: the item builder
// (changingitem) or the invoice editor (viewinvoice).
class PickerCaller {
public:
    virtual ~PickerCaller() = default;
    // The line row chosen by the last grid click.
    virtual qint16 pickerOnto() const = 0;
    // The number of lines in use; onto below it means an existing line is being changed.
    virtual qint16 pickerCnt() const = 0;
    // The clicked line's texts (meaningful when onto is below cnt).
    virtual PickerLine pickerLine() const = 0;
    // Writes the picker's choice into line ar (a copy of onto); reads the picker's is_part,
    // cur_hours and fields, and unloads the picker when the choice is taken.
    virtual void adder(qint16 ar) = 0;
};
