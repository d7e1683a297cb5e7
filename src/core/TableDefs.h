// Field and index definitions of the six tables, and the master password they are created with.
#pragma once

#include "platform/TableEngine.h"

// The master password of every table the program creates; the session holds it for the whole run.
inline const QString TablePassword = QStringLiteral("tolvemq583");

TableDef AdrsTableDef();
TableDef SenderTableDef();
TableDef CategoryTableDef();
TableDef TargetTableDef();
TableDef ExceptionTableDef();
TableDef OriginalTableDef();

// The definition of a table by its file name ("Adrs.DB"; ASCII case ignored); nullopt for an unknown name.
std::optional<TableDef> TableDefByFileName(const QString& fileName);
