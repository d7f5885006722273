// Declarations: Dim, ReDim, Const, Public and Private, procedures, classes.
#include "grammar.h"

namespace vbs {

bool Parser::declaration(Block &out, bool isPublic)
{
    if (proc)
        return fail(err::ExpectedStatement);
    if (atKw(Kw::Default)) {
        ++p;
        if (!isPublic)
            return fail(err::DefaultOnlyOnGet);
        return procedure(true, true);
    }
    if (atKw(Kw::Sub) || atKw(Kw::Function) || atKw(Kw::Property))
        return procedure(isPublic, false);
    if (atKw(Kw::Const)) {
        ++p;
        return constant();
    }
    acceptKw(Kw::Dim);
    return dim(out, isPublic);
}

bool Parser::dim(Block &out, bool isPublic)
{
    do {
        QString n;
        if (!name(n))
            return false;
        DimStmt::Var var;
        if (accept(Tok::LParen)) {
            var.hasBounds = true;
            if (!at(Tok::RParen) && !bounds(var.bounds))
                return false;
            if (!expect(Tok::RParen, err::ExpectedRParen))
                return false;
        }
        if (cls && !proc) {
            for (const ClassDef::Field &f : cls->fields)
                if (f.name.compare(n, Qt::CaseInsensitive) == 0)
                    return fail(err::NameRedefined);
            cls->fields.push_back({n, isPublic, var.bounds, var.hasBounds});
            continue;
        }
        if (!declare(n))
            return false;
        if (var.hasBounds) {
            // Dim a(3) makes its array, Dim a() an empty dynamic one, when the statement runs.
            auto *target = node<Name>();
            target->name = n;
            var.target = target;
            auto *s = node<DimStmt>();
            s->vars.push_back(var);
            out.push_back(s);
        }
    } while (accept(Tok::Comma));
    return true;
}

// The upper bounds of Dim a(...) and ReDim a(...): expressions separated by commas.
bool Parser::bounds(std::vector<Expr *> &out)
{
    do {
        Expr *b = expr();
        if (!b)
            return false;
        out.push_back(b);
    } while (accept(Tok::Comma));
    return true;
}

bool Parser::redim(Block &out)
{
    auto *s = node<DimStmt>();
    s->isReDim = true;
    s->preserve = acceptKw(Kw::Preserve);
    do {
        DimStmt::Var var;
        auto *target = node<Name>();
        if (!name(target->name))
            return false;
        target->declares = true;
        var.target = target;
        var.hasBounds = true;
        if (!expect(Tok::LParen, err::ExpectedLParen))
            return false;
        if (!bounds(var.bounds) || !expect(Tok::RParen, err::ExpectedRParen))
            return false;
        s->vars.push_back(var);
    } while (accept(Tok::Comma));
    out.push_back(s);
    return true;
}

bool Parser::constant()
{
    do {
        QString n;
        if (!name(n) || !expect(Tok::Eq, err::ExpectedEquals))
            return false;
        Expr *value = expr();
        if (!value)
            return false;
        if (proc) {
            if (proc->slotNames.contains(n))
                return fail(err::NameRedefined);
            proc->consts.emplace_back(n, value);
        } else {
            u.globalConsts.emplace_back(n, value);
        }
    } while (accept(Tok::Comma));
    return true;
}

bool Parser::procedure(bool isPublic, bool isDefault)
{
    if (proc)
        return fail(err::ExpectedStatement);
    auto owned = std::make_unique<Proc>();
    Proc *pr = owned.get();
    pr->isPublic = isPublic;
    pr->isDefault = isDefault;
    pr->line = cur().line;
    Kw endWord;
    if (acceptKw(Kw::Sub)) {
        pr->kind = ProcKind::Sub;
        endWord = Kw::Sub;
    } else if (acceptKw(Kw::Function)) {
        pr->kind = ProcKind::Function;
        endWord = Kw::Function;
    } else {
        if (!expectKw(Kw::Property, err::ExpectedStatement))
            return false;
        if (!cls)
            return fail(err::ExpectedStatement);
        endWord = Kw::Property;
        if (acceptKw(Kw::Get))
            pr->kind = ProcKind::PropertyGet;
        else if (acceptKw(Kw::Let))
            pr->kind = ProcKind::PropertyLet;
        else if (acceptKw(Kw::Set))
            pr->kind = ProcKind::PropertySet;
        else
            return fail(err::ExpectedLetSetGet);
    }
    if (isDefault && pr->kind != ProcKind::PropertyGet && pr->kind != ProcKind::Function && pr->kind != ProcKind::Sub)
        return fail(err::DefaultOnlyOnGet);
    if (!name(pr->name))
        return false;
    pr->slotNames.add(QStringLiteral("#result"));
    if (accept(Tok::LParen)) {
        if (!at(Tok::RParen)) {
            do {
                Param param;
                if (acceptKw(Kw::ByVal))
                    param.byRef = false;
                else
                    acceptKw(Kw::ByRef);
                if (!name(param.name))
                    return false;
                if (accept(Tok::LParen) && !expect(Tok::RParen, err::ExpectedRParen))
                    return false;
                if (pr->slotNames.contains(param.name))
                    return fail(err::NameRedefined);
                pr->slotNames.add(param.name);
                pr->params.push_back(param);
            } while (accept(Tok::Comma));
        }
        if (!expect(Tok::RParen, err::ExpectedRParen))
            return false;
    }
    if ((pr->kind == ProcKind::PropertyLet || pr->kind == ProcKind::PropertySet) && pr->params.empty())
        return fail(err::PropertyNeedsArgument);
    // The body may begin on the header's line: Function G()G = 2 End Function.
    proc = pr;
    const int savedDo = doDepth, savedFor = forDepth;
    doDepth = forDepth = 0;
    const QStringList savedWith = withHolders;
    withHolders.clear();
    if (!block(pr->body, &Parser::stopProc))
        return false;
    withHolders = savedWith;
    doDepth = savedDo;
    forDepth = savedFor;
    proc = nullptr;
    if (!atKw(Kw::EndKw))
        return fail(err::ExpectedEnd);
    ++p;
    if (!acceptKw(endWord))
        return fail(endWord == Kw::Sub ? err::ExpectedSub : endWord == Kw::Function ? err::ExpectedFunction : err::ExpectedProperty);
    pr->cls = cls;
    if (cls) {
        if (pr->name.compare(QLatin1String("Class_Initialize"), Qt::CaseInsensitive) == 0
            || pr->name.compare(QLatin1String("Class_Terminate"), Qt::CaseInsensitive) == 0) {
            if (!pr->params.empty())
                return fail(err::ClassEventArguments);
        }
        if (pr->kind == ProcKind::Sub || pr->kind == ProcKind::Function)
            cls->methods.push_back(pr);
        else
            cls->properties.push_back(pr);
    }
    u.procs.push_back(std::move(owned));
    return true;
}

bool Parser::classDef()
{
    if (proc || cls)
        return fail(err::ExpectedStatement);
    ++p;
    auto owned = std::make_unique<ClassDef>();
    if (!name(owned->name) || !endOfStatement())
        return false;
    cls = owned.get();
    for (;;) {
        if (accept(Tok::EndOfStatement))
            continue;
        if (at(Tok::End))
            return fail(err::ExpectedEnd);
        if (atKw(Kw::EndKw) && nextKw(Kw::Class)) {
            p += 2;
            break;
        }
        Block ignored;
        bool ok;
        if (atKw(Kw::Dim)) {
            ++p;
            ok = dim(ignored, true);
        } else if (atKw(Kw::Public) || atKw(Kw::Private)) {
            const bool isPublic = atKw(Kw::Public);
            ++p;
            ok = declaration(ignored, isPublic);
        } else if (atKw(Kw::Sub) || atKw(Kw::Function) || atKw(Kw::Property)) {
            ok = procedure(true, false);
        } else {
            return fail(err::ExpectedStatement);
        }
        if (!ok || !endOfBlockStatement())
            return false;
    }
    cls = nullptr;
    u.classes.push_back(std::move(owned));
    return true;
}

} // namespace vbs
