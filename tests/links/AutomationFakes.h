// Scripted automation objects for the link tests: every call is logged, answers come from a script.
#pragma once

#include "links/Automation.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

// An automation object that logs every call and answers from a script; an answer may raise. Members that
// write into their arguments are scripted in byRef.
class ScriptedObject : public TAutomationObject
{
public:
    using Answer = std::function<QVariant(const QVariantList&)>;
    using RefAnswer = std::function<QVariant(QVariantList&)>;
    explicit ScriptedObject(QStringList& log) : m_log(log) {}
    QVariant invoke(const QString& name, const QVariantList& args) override
    {
        logCall(name, args);
        const auto it = answers.find(name);
        return it == answers.end() ? QVariant() : it->second(args);
    }
    QVariant invokeByRef(const QString& name, QVariantList& args) override
    {
        const auto it = byRef.find(name);
        if (it == byRef.end())
            return invoke(name, args);
        logCall(name, args);
        return it->second(args);
    }
    void put(const QString& name, const QVariant& value) override { m_log << name + u'=' + value.toString(); }
    void putIndexed(const QString& name, const QVariant& index, const QVariant& value) override
    {
        m_log << name + u'[' + index.toString() + QStringLiteral("]=") + value.toString();
        if (const auto it = puts.find(name); it != puts.end())
            it->second(index, value);
    }

    std::map<QString, Answer> answers;
    std::map<QString, RefAnswer> byRef;
    std::map<QString, std::function<void(const QVariant&, const QVariant&)>> puts;

private:
    void logCall(const QString& name, const QVariantList& args)
    {
        QStringList shown;
        for (const QVariant& a : args)
            shown << (a.canConvert<QObject*>() && a.value<QObject*>() ? QStringLiteral("window")
                                                                      : a.toString());
        m_log << name + u'(' + shown.join(u',') + u')';
    }

    QStringList& m_log;
};

[[noreturn]] inline QVariant raise()
{
    throw EAutomationError("gone");
}

// Registers a class for the fixture's life and keeps the log of its objects.
class ScriptedClass
{
public:
    ScriptedClass(const QString& id, std::function<void(ScriptedObject&)> script) : m_id(id)
    {
        RegisterAutomationClass(id, [this, script] {
            auto object = std::make_shared<ScriptedObject>(log);
            script(*object);
            return object;
        });
    }
    ~ScriptedClass() { RegisterAutomationClass(m_id, {}); }
    ScriptedClass(const ScriptedClass&) = delete;
    ScriptedClass& operator=(const ScriptedClass&) = delete;
    QStringList log;

private:
    QString m_id;
};
