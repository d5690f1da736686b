// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "class_list.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <numeric>

namespace report {

records::ClassFolder nameClass(records::ClassFolder folder, const Roster* roster) {
    if (roster == nullptr)
        return folder;
    const std::vector<RosterChild>& children = roster->children;
    // An ID named twice in the list belongs to the first child that names it.
    QHash<QString, std::size_t> childOfId;
    for (std::size_t k = 0; k < children.size(); ++k) {
        for (const QString& id : children[k].ids) {
            const QString key = idKey(id);
            if (!childOfId.contains(key))
                childOfId.insert(key, k);
        }
    }

    std::vector<std::vector<records::Learner*>> joined(children.size());
    std::vector<records::Learner*> unnamed;
    for (records::Learner& learner : folder.learners) {
        const auto child = childOfId.constFind(idKey(learner.id));
        if (child == childOfId.cend())
            unnamed.push_back(&learner);
        else
            joined[*child].push_back(&learner);
    }

    std::vector<std::size_t> order(children.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t left, std::size_t right) {
        return records::idBefore(idKey(children[left].number), idKey(children[right].number));
    });

    std::vector<records::Learner> learners;
    for (const std::size_t k : order) {
        if (joined[k].empty())
            continue;
        records::Learner child;
        QStringList ids;
        for (records::Learner* learner : joined[k]) {
            ids << learner->id;
            std::move(learner->drills.begin(), learner->drills.end(),
                      std::back_inserter(child.drills));
        }
        std::stable_sort(child.drills.begin(), child.drills.end(),
                         [](const records::KeptDrill& left, const records::KeptDrill& right) {
                             return left.ended < right.ended;
                         });
        child.id = ids.join(u'・');
        child.number = children[k].number;
        child.name = children[k].name;
        if (ids.size() > 1)
            child.joinedNote = QStringLiteral("ID %1 をまとめました").arg(child.id);
        learners.push_back(std::move(child));
    }
    for (records::Learner* learner : unnamed)
        learners.push_back(std::move(*learner));
    folder.learners = std::move(learners);
    return folder;
}

QString rosterNote(const records::ClassFolder& read, const records::ClassFolder& named,
                   const Roster& roster) {
    QSet<QString> kept;
    for (const records::Learner& learner : read.learners)
        kept.insert(idKey(learner.id));
    QStringList missing;
    for (const RosterChild& child : roster.children) {
        if (std::none_of(child.ids.begin(), child.ids.end(),
                         [&](const QString& id) { return kept.contains(idKey(id)); })) {
            missing << (child.number.isEmpty() ? child.name
                                               : child.number + QStringLiteral("番 ") + child.name);
        }
    }
    QString note = QStringLiteral("名簿: %1 人。").arg(roster.children.size());
    if (!missing.isEmpty())
        note += QStringLiteral("記録のない児童: %1。").arg(missing.join(u'、'));
    for (const records::Learner& learner : named.learners) {
        if (!learner.joinedNote.isEmpty())
            note += learner.joinedNote + u'。';
    }
    return note;
}

bool hasId(const records::Learner& learner, const QString& id) {
    return learner.id == id ||
           (!learner.joinedNote.isEmpty() && learner.id.split(u'・').contains(id));
}

QString childTitle(const records::Learner& learner) {
    if (learner.name.isEmpty() && learner.number.isEmpty())
        return QStringLiteral("ID %1").arg(learner.id);
    QString title = learner.number.isEmpty() ? QString() : learner.number + QStringLiteral("番 ");
    return title + QStringLiteral("%1（ID %2）").arg(learner.name, learner.id);
}

}  // namespace report
