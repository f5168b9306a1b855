-- The library desk's tables. Text widths are GBK byte widths, kept by the screens.
-- Dates are ISO text (yyyy-MM-dd); money columns are numbers with four decimals.

create table tszk (
    txm varchar(20) not null unique,
    tsmc varchar(60), pyzjh text, tsjsh varchar(15), xlm varchar(20), fjch varchar(16),
    bt varchar(26), ztm varchar(30), ftm varchar(30), yz varchar(15), zz varchar(30),
    sjm varchar(4), cbsmc varchar(24), cbsj date, tskb varchar(19), tsym smallint,
    tsbb varchar(20), isbn varchar(26), hbfh varchar(3), tsjg real, sfct varchar(1),
    tsts smallint, bzsy varchar(30), flmc text, mxflm varchar(12), bs smallint,
    jcs smallint, tszt varchar(1), Dsrq date, sfsh varchar(1), fsjh varchar(6),
    scddbh varchar(8), ctys smallint, bmr varchar(8), bmrq date
);
create index tszk_tsmc on tszk(tsmc);
create index tszk_pyzjh on tszk(pyzjh);
create index tszk_flmc on tszk(flmc);
create index tszk_mxflm on tszk(mxflm);
create index tszk_cbsmc on tszk(cbsmc);
create index tszk_zz on tszk(zz);
create index tszk_isbn on tszk(isbn);
create index tszk_scddbh on tszk(scddbh);
create index tszk_bmrq on tszk(bmrq);
-- Title fragments: a trigram index over the titles (case-sensitive like the look-ups),
-- kept in step with tszk by its triggers. It only narrows the rows; the look-up still
-- tests the title itself.
create virtual table tszk_title using fts5(tsmc, tokenize='trigram case_sensitive 1');
create trigger tszk_title_insert after insert on tszk begin
    insert or replace into tszk_title(rowid, tsmc) values (new.rowid, new.tsmc);
end;
create trigger tszk_title_update after update of tsmc on tszk begin
    delete from tszk_title where rowid = old.rowid;
    insert or replace into tszk_title(rowid, tsmc) values (new.rowid, new.tsmc);
end;
create trigger tszk_title_delete after delete on tszk begin
    delete from tszk_title where rowid = old.rowid;
end;
-- Two-character title fragments: every pair of neighbouring characters of each title
-- (each pair once per title), kept in step with tszk by its triggers. The positions of a
-- title come from a JSON array of its length, so a title of any length is covered.
create table tszk_bigram (
    gram text not null, book integer not null, primary key (gram, book)
) without rowid;
create index tszk_bigram_book on tszk_bigram(book);
create trigger tszk_bigram_insert after insert on tszk begin
    insert or ignore into tszk_bigram(gram, book)
        select substr(new.tsmc, p.key + 1, 2), new.rowid
        from json_each('[' || replace(hex(zeroblob(length(new.tsmc))), '00', '0,') || '0]') p
        where p.key < length(new.tsmc) - 1;
end;
create trigger tszk_bigram_update after update of tsmc on tszk begin
    delete from tszk_bigram where book = old.rowid;
    insert or ignore into tszk_bigram(gram, book)
        select substr(new.tsmc, p.key + 1, 2), new.rowid
        from json_each('[' || replace(hex(zeroblob(length(new.tsmc))), '00', '0,') || '0]') p
        where p.key < length(new.tsmc) - 1;
end;
create trigger tszk_bigram_delete after delete on tszk begin
    delete from tszk_bigram where book = old.rowid;
end;
create index tszk_fsjh on tszk(fsjh);
create index tszk_bmr on tszk(bmr);
create index tszk_cbsj on tszk(cbsj);
create index tszk_tsym on tszk(tsym);

create table tszklsk (
    txm varchar(20), tsmc varchar(60), bs smallint, jcs smallint, tszt varchar(1)
);

create table tssxxk (tssbh varchar(8), tssmc varchar(16), slrq date);
create index tssxxk_tssbh on tssxxk(tssbh);
create index tssxxk_tssmc on tssxxk(tssmc);

create table cbsxxk (
    iid integer primary key autoincrement,
    pyzjh text, cbsmc text, cbsdz text, lxr text, lxdh text, yzbm text, EMail text
);
create index cbsxxk_cbsmc on cbsxxk(cbsmc);
create index cbsxxk_pyzjh on cbsxxk(pyzjh);

create table tsflm (
    iid integer primary key autoincrement,
    jlm text, dldm text, dlmc text, mxldm text, mxlmc text
);
create index tsflm_dldm on tsflm(dldm);
create index tsflm_mxldm on tsflm(mxldm);

create table bmdyb (type_id text, type_name text, type_from_id text);
create index bmdyb_type_id on bmdyb(type_id);
create index bmdyb_type_from_id on bmdyb(type_from_id);

create table mxflk (Flm text, mxflm text, mxflmc text);
create index mxflk_mxflm on mxflk(mxflm);
create index mxflk_mxflmc on mxflk(mxflmc);
create index mxflk_Flm on mxflk(Flm);

create table jsclk (
    txm text unique, clfs text, clrq date, clbs integer, clje real, cljsr text, bz text,
    tsmc varchar(60)
);
create index jsclk_clrq on jsclk(clrq);

create table jykdjk (
    kdj varchar(1) not null unique,
    km varchar(10), yqfkje real, yxxjcs smallint, Yjje real, jyqx smallint, gbf real,
    yjsbs smallint not null, jyqxdw varchar(2) not null, jsyj real not null, yxts real
);
create index jykdjk_kdj_km on jykdjk(kdj, km);

-- Column order matters: the sequence is written by position.
create table jszxh (jszxh text, lx text);

create table icxh (icxh text, lx text);
create table kpsxh (kpsxh text, lx text);

create table cardk (
    kno varchar(12) not null unique,
    kdj varchar(1), km varchar(10), dzm varchar(8), sfzh text, dz text, tel text, gzdw text,
    bkrq date, yxrq date, yj real, strpath text, jsbs integer,
    sfyx varchar(1) default 'Y'
);
create index cardk_dzm on cardk(dzm);
create index cardk_sfzh on cardk(sfzh);
create index cardk_bkrq on cardk(bkrq);
create index cardk_yxrq on cardk(yxrq);

create table gsb (kno text, kdj text, dzm text, gsbz text, sfzh text);
create index gsb_kno on gsb(kno);
create index gsb_sfzh on gsb(sfzh);

create table jykczb (
    kno text, dzm text, yxrq date, czje real, czy text, bz text, czrq date
);
create index jykczb_kno on jykczb(kno);
create index jykczb_czrq on jykczb(czrq);

create table zpidb (bh integer);

-- Fined until: yqfkzr is the last day whose overdue fine the loan has paid; a later
-- fine counts only the days after it, so no overdue day is fined twice.
create table dzjsmxk (
    iid integer primary key autoincrement,
    kno varchar(12), txm varchar(20), jsrq date, jsjsr varchar(8), hsrq date,
    hsjsr varchar(8), sfsh varchar(1), xjcs smallint, yqfkzr date
);
create index dzjsmxk_kno_hsjsr on dzjsmxk(kno, hsjsr);
-- A card holds at most one open loan of a title.
create unique index dzjsmxk_open on dzjsmxk(kno, txm) where hsjsr is null;
create index dzjsmxk_txm on dzjsmxk(txm);
create index dzjsmxk_hsrq on dzjsmxk(hsrq);
-- The overdue list: open loans by due date.
create index dzjsmxk_open_hsrq on dzjsmxk(hsrq) where hsjsr is null;
create index dzjsmxk_jsrq on dzjsmxk(jsrq);

-- Column order matters: fines are written by position.
create table dzyqfkmxk (Kno text, Rq date, jsr text, txm text, kdj text, je real);
create index dzyqfkmxk_kno_rq_txm on dzyqfkmxk(Kno, Rq, txm);
create index dzyqfkmxk_rq on dzyqfkmxk(Rq);

create table zzqk (
    iid integer primary key autoincrement,
    mc text, kh text, cbrq date, lx text, bz text, cbsmc text, pyzjh text
);
create index zzqk_mc_kh on zzqk(mc, kh);
create index zzqk_pyzjh on zzqk(pyzjh);
create index zzqk_cbrq on zzqk(cbrq);

create table zzqkztk (
    mc text, kh text, lx text, cbrq date, dzm text, kno text, jyrq date, cbsmc text
);
create index zzqkztk_mc_kh on zzqkztk(mc, kh);
create index zzqkztk_kno on zzqkztk(kno);
create index zzqkztk_jyrq on zzqkztk(jyrq);

create table cwk (srje real, zcje real, szyy varchar(20), fsrq date);
create index cwk_fsrq on cwk(fsrq);

create table userk (
    loginuser varchar(8) not null unique, name varchar(8), passw text, dj varchar(1)
);

create table funk (bm varchar(20), ownerename varchar(10), ownercname varchar(20), Msfsy varchar(1));
create index funk_ownerename on funk(ownerename);

create table subfunk (
    ownerename varchar(10), funcename varchar(10), funccname varchar(20), Ssfsy varchar(1)
);
create index subfunk_owner_func on subfunk(ownerename, funcename);

create table usergrantk (
    loginuser varchar(8), funename varchar(24), funcname varchar(24),
    unique (loginuser, funename)
);
create index usergrantk_funename on usergrantk(funename);

create table jhk (
    jhbh varchar(12), Jhqssj date, Jhjssj date, Jhje real, Jhr varchar(8), Jhrq date
);
create index jhk_jhbh on jhk(jhbh);
create table jhmxk (jhbh varchar(12), tsmc varchar(60), Tsdj real, Gmbs smallint);
create index jhmxk_jhbh on jhmxk(jhbh);

-- Union catalogues searched over Z39.50 for copy cataloguing.
create table ljmbk (
    iid integer primary key autoincrement,
    mc text, zj text, dk integer, sjk text, jlgs text, zfj text, sfqy varchar(1) default 'Y'
);

-- Readers' web catalogue: a reader's PIN (an Argon2id hash; no row while the first PIN is
-- still the last six characters of the identity number), whether it must be changed at the
-- next sign-in, and failed sign-ins with the time the card stays locked until.
create table dzmmk (
    kno varchar(12) not null unique, mmhash text, xgbz varchar(1), sbcs integer, sdsj text
);
-- Renewals a reader made on the web: the loan, the day and the due date it gave.
create table wsxjk (iid integer, kno varchar(12), txm varchar(20), xjrq date, hsrq date);
create index wsxjk_iid on wsxjk(iid);
create index wsxjk_kno on wsxjk(kno);

-- Desks in the library: each running program registers itself (computer, operator,
-- since when), keeps its row fresh while it runs and removes it when it exits, so
-- exclusive work (restore, initialisation) knows who else is in.
create table desks (
    iid integer primary key autoincrement,
    computer text, process integer, operator text, since text, seen text
);
