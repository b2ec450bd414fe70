#include "fixed_backrefs.h"

#include <map>

namespace bregexp {

namespace {

using GroupMap = std::map<int, const Node *>;

// Literals only, in any nesting of groups: the group can match one text.
bool is_fixed_text(const Node &node) {
    switch (node.kind) {
    case Node::Kind::empty:
    case Node::Kind::literal:
    case Node::Kind::text: return true;
    case Node::Kind::concat:
        for (const auto &child : node.children)
            if (!is_fixed_text(*child)) return false;
        return true;
    case Node::Kind::group: return is_fixed_text(*node.children[0]);
    default: return false;
    }
}

// A copy of fixed text; groups inside become non-capturing so that the copy
// sets no capture of its own.
NodePtr copy_text(const Node &node, CompileBudget &budget) {
    budget.charge(sizeof(Node) + 32 + node.text.size());
    auto copy = std::make_unique<Node>(node.kind);
    copy->code = node.code;
    copy->text = node.text;
    copy->fold = node.fold;
    for (const auto &child : node.children) copy->children.push_back(copy_text(*child, budget));
    return copy;
}

// Groups that are certainly set once node has matched.
void add_definite_groups(const Node &node, GroupMap &groups) {
    switch (node.kind) {
    case Node::Kind::group:
        if (node.group > 0) groups[node.group] = &node;
        add_definite_groups(*node.children[0], groups);
        return;
    case Node::Kind::concat:
        for (const auto &child : node.children) add_definite_groups(*child, groups);
        return;
    case Node::Kind::repeat:
        if (node.min > 0) add_definite_groups(*node.children[0], groups);
        return;
    default: return;  // an alternation or a lookahead may leave a group unset
    }
}

// `set` holds the groups certainly set whenever node is reached.
void visit(NodePtr &slot, const GroupMap &set, CompileBudget &budget) {
    Node &node = *slot;
    if (node.kind == Node::Kind::backref) {
        auto found = set.find(node.group);
        if (found != set.end() && is_fixed_text(*found->second->children[0])) {
            auto text = std::make_unique<Node>(Node::Kind::group);
            text->children.push_back(copy_text(*found->second->children[0], budget));
            slot = std::move(text);
        }
        return;
    }
    if (node.kind != Node::Kind::concat) {
        for (auto &child : node.children) visit(child, set, budget);
        return;
    }
    GroupMap before = set;
    for (auto &child : node.children) {
        visit(child, before, budget);
        add_definite_groups(*child, before);
    }
}

}  // namespace

void inline_fixed_backrefs(NodePtr &root, CompileBudget &budget) { visit(root, GroupMap(), budget); }

}  // namespace bregexp
