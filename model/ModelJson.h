// The model record as one JSON object, for batch checks of scripts: keys are the record's field
// names in declared order, numbers round-trip exactly, non-finite reals are written as null.
#pragma once

#include <QByteArray>

struct ModelRecord;

QByteArray modelRecordToJson(const ModelRecord& record);
