// A structure's DVH points together with what their order lets a lookup assume.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

/// One cumulative DVH point, in file order. Dose in % of the structure's prescribed dose and
/// in Gy; volume in % of the structure volume and in cc.
struct DVsetClass {
    float DosePercent = 0;
    float DoseGy = 0;
    float VolumePercent = 0;
    float VolumeCc = 0;
};

/// Which columns of a curve run one way from the first point to the last: every neighbouring
/// pair compares so (a NaN never does). A column that does lets the calculator find the one
/// segment that crosses a level by binary search; every other curve is scanned point by point.
/// Empty and one-point curves hold all three.
struct DvhPointOrder {
    bool DoseGyNeverFalls = true;
    bool DosePercentNeverFalls = true;
    bool VolumePercentNeverRises = true;

    /// The order of `points`, decided in one pass.
    static DvhPointOrder Of(const std::vector<DVsetClass>& points);
    /// Nothing assumed: every lookup scans.
    static constexpr DvhPointOrder Unknown() { return {false, false, false}; }
    bool operator==(const DvhPointOrder&) const = default;
};

/// The points of one structure (`DVHDatasetClass::DVset`). Reads like a vector. Setting the
/// whole list (`DVHDatasetClass::SetPoints`, assignment) decides its order once, appending a
/// point keeps it up to date, and any other write (a mutable element, resize) drops it, so the
/// order it reports is never wrong, only at worst unknown. Every write also gives the list a
/// new `Version`, so that what is drawn from its points can be kept until they change.
class DvhPointList {
public:
    using value_type = DVsetClass;
    using size_type = std::size_t;
    using const_iterator = std::vector<DVsetClass>::const_iterator;
    using iterator = std::vector<DVsetClass>::iterator;

    DvhPointList() = default;
    DvhPointList(const DvhPointList&) = default;  // same points, same order and version
    DvhPointList& operator=(const DvhPointList&) = default;
    // A list moved from is left empty under a version of its own: it never passes for the
    // points it gave away.
    DvhPointList(DvhPointList&& o) noexcept
        : m_points(std::move(o.m_points)), m_order(o.m_order), m_version(o.m_version) {
        o.Emptied();
    }
    DvhPointList& operator=(DvhPointList&& o) noexcept {
        if (this != &o) {
            m_points = std::move(o.m_points);
            m_order = o.m_order;
            m_version = o.m_version;
            o.Emptied();
        }
        return *this;
    }
    DvhPointList(std::vector<DVsetClass> points) { Assign(std::move(points)); }
    DvhPointList(std::initializer_list<DVsetClass> points) { Assign(points); }
    DvhPointList& operator=(std::vector<DVsetClass> points) {
        Assign(std::move(points));
        return *this;
    }
    DvhPointList& operator=(std::initializer_list<DVsetClass> points) {
        Assign(points);
        return *this;
    }

    /// Replaces every point and decides the order: the one way whole curves are written.
    void Assign(std::vector<DVsetClass> points) {
        m_points = std::move(points);
        m_order = DvhPointOrder::Of(m_points);
        m_version = NextVersion();
    }

    const DvhPointOrder& Order() const { return m_order; }
    /// Changes with every write; equal only for lists holding the same points (copies).
    std::uint64_t Version() const { return m_version; }
    const std::vector<DVsetClass>& Points() const { return m_points; }
    operator const std::vector<DVsetClass>&() const { return m_points; }

    std::size_t size() const { return m_points.size(); }
    bool empty() const { return m_points.empty(); }
    std::size_t capacity() const { return m_points.capacity(); }
    const DVsetClass& operator[](std::size_t i) const { return m_points[i]; }
    const DVsetClass& at(std::size_t i) const { return m_points.at(i); }
    const DVsetClass& front() const { return m_points.front(); }
    const DVsetClass& back() const { return m_points.back(); }
    const DVsetClass* data() const { return m_points.data(); }
    const_iterator begin() const { return m_points.begin(); }
    const_iterator end() const { return m_points.end(); }
    const_iterator cbegin() const { return m_points.cbegin(); }
    const_iterator cend() const { return m_points.cend(); }

    void push_back(const DVsetClass& p) {
        if (!m_points.empty()) Extend(m_points.back(), p);
        m_points.push_back(p);
        m_version = NextVersion();
    }
    /// Const, unlike a vector's: a point written after it is appended would escape the order.
    template <class... Args>
    const DVsetClass& emplace_back(Args&&... args) {
        push_back(DVsetClass{std::forward<Args>(args)...});
        return m_points.back();
    }
    void reserve(std::size_t n) { m_points.reserve(n); }
    void clear() {
        m_points.clear();
        m_order = {};
        m_version = NextVersion();
    }
    void resize(std::size_t n) { Mutable().resize(n); }
    template <class It>
    void assign(It first, It last) {
        Assign(std::vector<DVsetClass>(first, last));
    }

    void pop_back() { Mutable().pop_back(); }
    void shrink_to_fit() { m_points.shrink_to_fit(); }
    void assign(std::size_t n, const DVsetClass& p) { Assign(std::vector<DVsetClass>(n, p)); }
    iterator insert(const_iterator at, const DVsetClass& p) {
        const auto i = at - m_points.cbegin();
        return Mutable().insert(m_points.cbegin() + i, p);
    }
    iterator erase(const_iterator at) {
        const auto i = at - m_points.cbegin();
        return Mutable().erase(m_points.cbegin() + i);
    }
    iterator erase(const_iterator first, const_iterator last) {
        const auto i = first - m_points.cbegin(), j = last - m_points.cbegin();
        return Mutable().erase(m_points.cbegin() + i, m_points.cbegin() + j);
    }

    // Element access that may write: the order is dropped.
    /// The points as a vector to change in place: the order is dropped.
    explicit operator std::vector<DVsetClass>&() { return Mutable(); }
    DVsetClass& operator[](std::size_t i) { return Mutable()[i]; }
    DVsetClass& at(std::size_t i) { return Mutable().at(i); }
    DVsetClass& front() { return Mutable().front(); }
    DVsetClass& back() { return Mutable().back(); }
    DVsetClass* data() { return Mutable().data(); }
    iterator begin() { return Mutable().begin(); }
    iterator end() { return Mutable().end(); }

private:
    std::vector<DVsetClass>& Mutable() {
        m_order = DvhPointOrder::Unknown();
        m_version = NextVersion();
        return m_points;
    }
    void Emptied() {
        m_points.clear();
        m_order = {};
        m_version = NextVersion();
    }
    static std::uint64_t NextVersion();
    void Extend(const DVsetClass& last, const DVsetClass& next) {
        m_order.DoseGyNeverFalls &= next.DoseGy >= last.DoseGy;
        m_order.DosePercentNeverFalls &= next.DosePercent >= last.DosePercent;
        m_order.VolumePercentNeverRises &= next.VolumePercent <= last.VolumePercent;
    }

    std::vector<DVsetClass> m_points;
    DvhPointOrder m_order;
    std::uint64_t m_version = NextVersion();
};
