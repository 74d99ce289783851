#pragma once
// Sets the engine's building mark for a scope and clears it however the
// scope is left, an exception included.
namespace tolvane {

class BuildingScope {
public:
    explicit BuildingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BuildingScope() { flag_ = false; }
    BuildingScope(const BuildingScope&) = delete;
    BuildingScope& operator=(const BuildingScope&) = delete;

private:
    bool& flag_;
};

}  // namespace tolvane
