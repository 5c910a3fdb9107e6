// Texts, geometry, collections and run-time classes of the class library, on any platform.
#include "classlib/portable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
public:
    int radius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

TEST(RunTimeClass, KindTestsFollowTheBaseChainOnly) {
    CCircle circle;
    CShape shape;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CCircle, &shape), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CCircle, static_cast<CObject*>(&circle)), &circle);
}

TEST(RunTimeClass, CreatesObjectsByClassNameOnlyWithDynamicCreation) {
    std::unique_ptr<CObject> made(CRuntimeClass::CreateObject("CCircle"));
    ASSERT_NE(made, nullptr);
    ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_EQ(static_cast<CCircle*>(made.get())->radius, 7);
    EXPECT_EQ(CRuntimeClass::CreateObject("CShape"), nullptr);  // no dynamic creation
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CPtrArray"), RUNTIME_CLASS(CPtrArray));
}

TEST(Text, FormatsLongTextsWithoutCutting) {
    CString s;
    s.Format("%s: baud=%d parity=%c", "COM1", 19200, 'N');
    EXPECT_STREQ(s, "COM1: baud=19200 parity=N");
    std::string big(5000, 'x');
    s.Format("[%s]", big.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
    EXPECT_EQ(s.Right(2), CString("x]"));
}

TEST(Text, CutsAndSearchesWithinBounds) {
    CString s("Tarnel.Document");
    EXPECT_EQ(s.Find('.'), 6);
    EXPECT_EQ(s.Find("Doc"), 7);
    EXPECT_EQ(s.Find('z'), -1);
    EXPECT_EQ(s.Find('T', 99), -1);
    EXPECT_EQ(s.ReverseFind('e'), 12);
    EXPECT_EQ(s.Mid(7), CString("Document"));
    EXPECT_EQ(s.Mid(20, 3), CString(""));
    EXPECT_EQ(s.Left(-1), CString(""));
    EXPECT_EQ(s.Left(99), s);
    EXPECT_EQ(s.Right(3), CString("ent"));
    EXPECT_EQ(s.FindOneOf("#%;."), 6);
    EXPECT_EQ(CString("12ab").SpanIncluding("0123456789"), CString("12"));
    EXPECT_EQ(CString("name #2").SpanExcluding(" #%;/\\"), CString("name"));
}

TEST(Text, EditsInPlace) {
    CString s("  a-b-c \t");
    s.TrimRight();
    s.TrimLeft();
    EXPECT_EQ(s, "a-b-c");
    EXPECT_EQ(s.Replace("-", "--"), 2);
    EXPECT_EQ(s, "a--b--c");
    EXPECT_EQ(s.Remove('-'), 4);
    s.Insert(1, "XY");
    s.Delete(0);
    EXPECT_EQ(s, "XYbc");
    s.MakeLower();
    EXPECT_EQ(s.CompareNoCase("XYBC"), 0);
    EXPECT_LT(s.CompareNoCase("xyz"), 0);
    CString t("0x00FF");
    t.TrimLeft("0x");
    EXPECT_EQ(t, "FF");
}

TEST(Text, BufferAccessTakesTheLengthFromTheTerminator) {
    CString s("old");
    char* p = s.GetBuffer(32);
    std::snprintf(p, 33, "%s", "new text");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 8);
    EXPECT_EQ(s, "new text");
}

TEST(Text, ExtractsPiecesOfADocumentString) {
    const char* doc = "\nHex File\nHex File\nHex Files (*.hex)\n.hex\nTarnel.Document";
    CString piece;
    EXPECT_TRUE(AfxExtractSubString(piece, doc, 0));
    EXPECT_EQ(piece, "");
    EXPECT_TRUE(AfxExtractSubString(piece, doc, 3));
    EXPECT_EQ(piece, "Hex Files (*.hex)");
    EXPECT_TRUE(AfxExtractSubString(piece, doc, 5));
    EXPECT_EQ(piece, "Tarnel.Document");
    EXPECT_FALSE(AfxExtractSubString(piece, doc, 6));
    EXPECT_EQ(piece, "");
}

TEST(Geometry, IntersectionAndUnionTreatEmptyRectanglesAsWin32Does) {
    CRect a(0, 0, 10, 10);
    CRect b(5, 5, 20, 20);
    CRect r;
    EXPECT_TRUE(r.IntersectRect(&a, &b));
    EXPECT_EQ(r, CRect(5, 5, 10, 10));
    EXPECT_FALSE(r.IntersectRect(&a, CRect(10, 0, 20, 10)));  // touching only
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_TRUE(r.UnionRect(&a, CRect(50, 50, 50, 60)));  // empty one is ignored
    EXPECT_EQ(r, a);
    EXPECT_EQ(a | b, CRect(0, 0, 20, 20));
    EXPECT_TRUE(a.PtInRect(CPoint(0, 9)));
    EXPECT_FALSE(a.PtInRect(CPoint(10, 5)));
    CRect n(10, 10, 0, 0);
    n.NormalizeRect();
    EXPECT_EQ(n, a);
    CRect d(a);
    d.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(d, CRect(1, 2, 7, 6));
    EXPECT_EQ(d.Size(), CSize(6, 4));
    EXPECT_EQ(CPoint(0xFFFF0001u), CPoint(1, -1));
}

TEST(PointerArray, InsertsRemovesAndGrows) {
    CPtrArray a;
    int x = 0;
    int y = 0;
    a.Add(&x);
    a.Add(&y);
    a.InsertAt(1, nullptr, 2);
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[0], &x);
    EXPECT_EQ(a[1], nullptr);
    EXPECT_EQ(a[3], &y);
    a.RemoveAt(1, 2);
    EXPECT_EQ(a.GetSize(), 2);
    a.SetAtGrow(5, &x);
    EXPECT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a[4], nullptr);
    EXPECT_THROW(a.RemoveAt(5, 2), std::out_of_range);
    CUIntArray u;
    u.InsertAt(3, 9u);  // past the end: grows with zeros
    EXPECT_EQ(u.GetSize(), 4);
    EXPECT_EQ(u[3], 9u);
    EXPECT_EQ(u[0], 0u);
}

TEST(PointerArray, ReportsExhaustedMemoryAsAClassLibraryException) {
    CPtrArray a;
    EXPECT_THROW(a.SetSize(static_cast<INT_PTR>(1) << (sizeof(void*) * 8 - 2)), CMemoryException);
}

TEST(PointerList, PositionsWalkBothWaysAndSurviveOtherRemovals) {
    CPtrList list;
    int v[4] = {};
    POSITION p1 = list.AddTail(&v[1]);
    list.AddTail(&v[2]);
    list.AddHead(&v[0]);
    list.InsertAfter(p1, &v[3]);  // 0 1 3 2
    std::vector<void*> forward;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        forward.push_back(list.GetNext(pos));
    }
    EXPECT_EQ(forward, (std::vector<void*>{&v[0], &v[1], &v[3], &v[2]}));
    list.RemoveAt(list.Find(&v[3]));
    EXPECT_EQ(list.GetAt(p1), &v[1]);
    POSITION pos = list.GetTailPosition();
    EXPECT_EQ(list.GetPrev(pos), &v[2]);
    EXPECT_EQ(list.GetPrev(pos), &v[1]);
    EXPECT_EQ(list.FindIndex(2), list.GetTailPosition());
    EXPECT_EQ(list.FindIndex(3), nullptr);
    EXPECT_EQ(list.RemoveHead(), &v[0]);
    EXPECT_EQ(list.RemoveTail(), &v[2]);
    EXPECT_EQ(list.GetCount(), 1);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_THROW(list.GetHead(), std::out_of_range);
}

TEST(Maps, LookupSetAndRemove) {
    CMapWordToPtr words;
    int a = 0;
    words[59419] = &a;
    void* out = nullptr;
    EXPECT_TRUE(words.Lookup(59419, out));
    EXPECT_EQ(out, &a);
    EXPECT_FALSE(words.Lookup(59420, out));
    CMapStringToPtr names;
    names.SetAt("Hex File", &a);
    EXPECT_TRUE(names.Lookup(CString("Hex File"), out));
    EXPECT_TRUE(names.RemoveKey("Hex File"));
    EXPECT_FALSE(names.RemoveKey("Hex File"));
}

TEST(Maps, WalkVisitsEveryEntryOnceEvenWhenRemovingAsItGoes) {
    CMapPtrToPtr map;
    int items[50];
    for (int& i : items) {
        map[&i] = &i + 1;
    }
    std::set<void*> seen;
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        void* key = nullptr;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(value, static_cast<int*>(key) + 1);
        EXPECT_TRUE(seen.insert(key).second);
        map.RemoveKey(key);
    }
    EXPECT_EQ(seen.size(), 50u);
    EXPECT_TRUE(map.IsEmpty());
}

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndBounded) {
    CRecentFileList mru(57616, "Recent File List", "File%d", 3);
    mru.Add("C:\\a.hex");
    mru.Add("C:\\b.hex");
    mru.Add("C:\\c.hex");
    mru.Add("c:\\A.HEX");  // same file, other case: moves up
    EXPECT_EQ(mru[0], "c:\\A.HEX");
    EXPECT_EQ(mru[1], "C:\\c.hex");
    EXPECT_EQ(mru[2], "C:\\b.hex");
    mru.Add("C:\\d.hex");  // full: the oldest falls off
    EXPECT_EQ(mru[0], "C:\\d.hex");
    EXPECT_EQ(mru[2], "C:\\c.hex");
    mru.Remove(0);
    EXPECT_EQ(mru[0], "c:\\A.HEX");
    EXPECT_EQ(mru[2], "");
    EXPECT_EQ(mru.GetEntryCount(), 2);
    mru.Add("");
    EXPECT_EQ(mru.GetEntryCount(), 2);
}

}  // namespace
