// Output helpers shared by the verbs: UTF-8 to standard output, messages to standard error.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

void writeOut(const QByteArray &utf8);
/// Flushes standard output. False, with the reason reported, when anything written to it
/// was lost (a full disk, a closed pipe): the verb then fails.
bool finishOut();
/// "duvazi-tool: <message>" on standard error, with a line end.
void report(QStringView message);
