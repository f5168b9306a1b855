-- The rights catalogue: one group per top-level menu, one function per menu item.
insert into funk(bm,ownerename,ownercname,Msfsy) values ('01','jhgl','基础数据管理','Y');
insert into funk(bm,ownerename,ownercname,Msfsy) values ('02','ylsgl','阅览室管理','Y');
insert into funk(bm,ownerename,ownercname,Msfsy) values ('03','yjcgl','外借处管理','Y');
insert into funk(bm,ownerename,ownercname,Msfsy) values ('04','kpgl','借书证管理','Y');
insert into funk(bm,ownerename,ownercname,Msfsy) values ('05','bmgl','图书管理','Y');
insert into funk(bm,ownerename,ownercname,Msfsy) values ('06','dzjs','图书信息查询','Y');
insert into funk(bm,ownerename,ownercname,Msfsy) values ('07','cwcx','财务查询','Y');
insert into funk(bm,ownerename,ownercname,Msfsy) values ('08','xtgn','系统维护','Y');

insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('jhgl','jhzd','基础数据设置流程','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('jhgl','ydjhcx','操作员管理','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('jhgl','N13','操作员权限管理','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('jhgl','ljmb','联机检索目标设置','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('jhgl','bztsfl','国家标准分类码录入','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('ylsgl','zzqk','新到书刊登记','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('ylsgl','dyfydj','阅览登记','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('ylsgl','ylscx','阅览室查询','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('yjcgl','dzjsdj','读者借书登记','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('yjcgl','dzhsdj','读者还书登记','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('yjcgl','yqfkdj','读者逾期罚款登记','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('yjcgl','dzjycx','读者借阅查询','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('yjcgl','xssj','新书上架登记','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('kpgl','blxk','办理借书证','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('kpgl','kpcx','借书证查询','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('kpgl','N7','借书证挂失','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('kpgl','N8','借书证解挂失','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('kpgl','N18','借书证充值/延期','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('kpgl','kpgs','注销借书证','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('kpgl','N19','借书证充值查询','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('kpgl','N17','挂失查询','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('kpgl','kpmm','读者网上密码重置','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('bmgl','tsbm','图书编目','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('bmgl','bmcx','图书查询','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('bmgl','jscl','旧图书处理','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('bmgl','yjtscx','旧图书处理查询','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('bmgl','N12','图书检索','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('bmgl','gbccd','改变图书存放地点','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('dzjs','N9','图书信息查询','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('dzjs','N10','读者逾期查询','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('xtgn','N20','系统备份与恢复','Y');
insert into subfunk(ownerename,funcename,funccname,Ssfsy) values ('xtgn','N15','系统初始化','Y');

-- The photograph counter: exactly one row.
insert into zpidb(bh) values (0);
