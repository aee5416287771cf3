// A tree with check boxes as a model: the computer tree and the category tree
// of the main window. Nodes carry a unique key, a text, an image key, a tag,
// a check mark and an expanded flag; children keep the order in which they
// were added, and "tree order" is the depth-first order of the roots and their
// children. Checking a node gives every node below it the same state. The
// Win32 tree view shows the model through the observer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

using NodeId = std::size_t;
inline constexpr NodeId kNoNode = static_cast<NodeId>(-1);

struct TreeNode {
    std::string key;
    std::string text;
    std::string image;
    std::string tag;
    bool checked = false;
    bool expanded = false;
    NodeId parent = kNoNode;
    std::vector<NodeId> children;
};

class ICheckTreeObserver {
public:
    virtual ~ICheckTreeObserver() = default;
    virtual void Node_Added(NodeId node) = 0;
    // Text, image, check mark or expanded flag changed.
    virtual void Node_Changed(NodeId node) = 0;
    virtual void Node_Selected(NodeId node) = 0;
    virtual void Tree_Cleared() = 0;
};

class CheckTree {
public:
    CheckTree() = default;
    CheckTree(const CheckTree&) = delete;
    CheckTree& operator=(const CheckTree&) = delete;

    void Set_Observer(ICheckTreeObserver* observer) noexcept { observer_ = observer; }

    // Adds a node as the last child of parent (kNoNode: a new root). Throws
    // std::invalid_argument when the key is already used or parent is unknown.
    NodeId Add(NodeId parent, std::string key, std::string text, std::string image);
    void Clear();

    [[nodiscard]] std::size_t Count() const noexcept { return nodes_.size(); }
    [[nodiscard]] const TreeNode& Node(NodeId node) const { return nodes_.at(node); }
    // kNoNode when no node has this key.
    [[nodiscard]] NodeId Find(std::string_view key) const;
    [[nodiscard]] const std::vector<NodeId>& Roots() const noexcept { return roots_; }
    // Every node, depth first: a node, then its children and their children in order.
    [[nodiscard]] std::vector<NodeId> Tree_Order() const;
    [[nodiscard]] bool Has_Children(NodeId node) const { return !nodes_.at(node).children.empty(); }

    // Sets the node's check mark and the same on every node below it; returns
    // the nodes whose state actually changed, in tree order.
    std::vector<NodeId> Set_Checked(NodeId node, bool checked);
    // Sets only this node's check mark (restoring saved states).
    void Set_Checked_Only(NodeId node, bool checked);
    void Set_Text(NodeId node, std::string text);
    void Set_Image(NodeId node, std::string image);
    void Set_Tag(NodeId node, std::string tag);
    void Set_Expanded(NodeId node, bool expanded);

    void Select(NodeId node);
    [[nodiscard]] NodeId Selected() const noexcept { return selected_; }

    // Nodes that are checked and whose key is neither "rR" nor begins with "g".
    [[nodiscard]] int Count_Checked_Nodes() const;

private:
    void Changed(NodeId node);
    void Collect(NodeId node, std::vector<NodeId>& order) const;

    std::vector<TreeNode> nodes_;
    std::vector<NodeId> roots_;
    std::unordered_map<std::string, NodeId> byKey_;
    NodeId selected_ = kNoNode;
    ICheckTreeObserver* observer_ = nullptr;
};

}  // namespace corvane
