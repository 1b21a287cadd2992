#pragma once

#include "forms/SystemDialogs.h"

#include <deque>

namespace molvik {

class ScriptedSystemDialogs final : public SystemDialogs
{
public:
    QString browseFolder(QWidget *owner) override
    {
        lastOwner = owner;
        return next(folders);
    }
    QStringList chooseFiles(FileRequest &request) override
    {
        fileSeen = request;
        return next(files);
    }
    // Keeps what it was given, as the real dialog keeps the colours.
    QColor chooseColor(QWidget *, const QColor &initial, QList<QColor> &custom) override
    {
        colorSeen = initial;
        customSeen = custom;
        return next(colors);
    }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override { return next(fonts); }
    bool print(QWidget *, std::shared_ptr<QPrinter> &) override { return false; }

    // Queued answers; an empty text or list, an invalid colour or no font cancels.
    std::deque<QString> folders;
    std::deque<QStringList> files;
    std::deque<QColor> colors;
    std::deque<std::optional<QFont>> fonts;
    QWidget *lastOwner = nullptr;
    FileRequest fileSeen;
    QColor colorSeen;
    QList<QColor> customSeen;

private:
    template<typename T> static T next(std::deque<T> &queue)
    {
        T answer = queue.empty() ? T{} : std::move(queue.front());
        if (!queue.empty())
            queue.pop_front();
        return answer;
    }
};

} // namespace molvik
