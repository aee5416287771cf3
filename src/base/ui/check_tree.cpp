#include "base/ui/check_tree.h"

#include <stdexcept>

namespace corvane {

NodeId CheckTree::Add(NodeId parent, std::string key, std::string text, std::string image) {
    if (byKey_.count(key) != 0) throw std::invalid_argument("Key is not unique in collection: " + key);
    if (parent != kNoNode && parent >= nodes_.size()) throw std::invalid_argument("Unknown parent node");
    const NodeId id = nodes_.size();
    TreeNode node;
    node.key = std::move(key);
    node.text = std::move(text);
    node.image = std::move(image);
    node.parent = parent;
    byKey_.emplace(node.key, id);
    nodes_.push_back(std::move(node));
    if (parent == kNoNode) {
        roots_.push_back(id);
    } else {
        nodes_[parent].children.push_back(id);
    }
    if (observer_ != nullptr) observer_->Node_Added(id);
    return id;
}

void CheckTree::Clear() {
    nodes_.clear();
    roots_.clear();
    byKey_.clear();
    selected_ = kNoNode;
    if (observer_ != nullptr) observer_->Tree_Cleared();
}

NodeId CheckTree::Find(std::string_view key) const {
    const auto hit = byKey_.find(std::string(key));
    return hit == byKey_.end() ? kNoNode : hit->second;
}

void CheckTree::Collect(NodeId node, std::vector<NodeId>& order) const {
    order.push_back(node);
    for (const NodeId child : nodes_[node].children) Collect(child, order);
}

std::vector<NodeId> CheckTree::Tree_Order() const {
    std::vector<NodeId> order;
    order.reserve(nodes_.size());
    for (const NodeId root : roots_) Collect(root, order);
    return order;
}

std::vector<NodeId> CheckTree::Set_Checked(NodeId node, bool checked) {
    std::vector<NodeId> below;
    (void)nodes_.at(node);
    Collect(node, below);
    std::vector<NodeId> changed;
    for (const NodeId id : below) {
        if (nodes_[id].checked == checked) continue;
        nodes_[id].checked = checked;
        changed.push_back(id);
        Changed(id);
    }
    return changed;
}

void CheckTree::Set_Checked_Only(NodeId node, bool checked) {
    if (nodes_.at(node).checked == checked) return;
    nodes_[node].checked = checked;
    Changed(node);
}

void CheckTree::Set_Text(NodeId node, std::string text) {
    nodes_.at(node).text = std::move(text);
    Changed(node);
}

void CheckTree::Set_Image(NodeId node, std::string image) {
    if (nodes_.at(node).image == image) return;
    nodes_[node].image = std::move(image);
    Changed(node);
}

void CheckTree::Set_Tag(NodeId node, std::string tag) { nodes_.at(node).tag = std::move(tag); }

void CheckTree::Set_Expanded(NodeId node, bool expanded) {
    if (nodes_.at(node).expanded == expanded) return;
    nodes_[node].expanded = expanded;
    Changed(node);
}

void CheckTree::Select(NodeId node) {
    if (node != kNoNode && node >= nodes_.size()) return;
    selected_ = node;
    if (observer_ != nullptr && node != kNoNode) observer_->Node_Selected(node);
}

int CheckTree::Count_Checked_Nodes() const {
    int count = 0;
    for (const TreeNode& node : nodes_) {
        if (node.checked && node.key != "rR" && !node.key.starts_with('g')) ++count;
    }
    return count;
}

void CheckTree::Changed(NodeId node) {
    if (observer_ != nullptr) observer_->Node_Changed(node);
}

}  // namespace corvane
